// Doubles of the services the receive summary uses. Each records what it was asked; a hook
// lets a test act where the real wait runs the message loop.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "plugin/receive_summary.h"

class HostActivityFake : public HostActivity {
public:
    int activePolls = 0;              // polls that still find the receive command active
    bool quitting = false;            // handleOneMessage reports a quit request
    std::function<void()> onMessage;  // runs inside every handleOneMessage
    int messagesHandled = 0;

    bool receiveCommandActive(HostWindow) override { return activePolls-- > 0; }
    bool handleOneMessage() override
    {
        ++messagesHandled;
        if (onMessage) {
            onMessage();
        }
        return !quitting;
    }
};

class NotificationRowsFake : public NotificationRows {
public:
    std::vector<NotificationRow> rows;
    int shows = 0;

    void addRow(const NotificationRow& row) override { rows.push_back(row); }
    int32_t rowCount() const override { return static_cast<int32_t>(rows.size()); }
    void show() override { ++shows; }
};

class SummarySignalsFake : public SummarySignals {
public:
    std::vector<std::string> events;  // "beep", "box <text>", "icon", "post <id>", in order

    void beep() override { events.push_back("beep"); }
    void showMessageBox(HostWindow, const std::string& text) override { events.push_back("box " + text); }
    void startIconAlert(HostWindow) override { events.push_back("icon"); }
    void postCommand(HostWindow, uint32_t id) override { events.push_back("post " + std::to_string(id)); }
};
