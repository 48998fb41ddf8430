// Doubles of the services the receive summary uses: the host's activity, the notification
// window and the signals. Each records what it was asked; hooks let a test act at the
// moments the real ones run the message loop (a wait step, an open message box).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/receive_summary.h"

class HostActivityFake : public HostActivity {
public:
    int activePolls = 0;               // polls that still find the receive command active
    bool quitting = false;             // handleOneMessage reports a quit request
    std::function<void()> onMessage;   // runs inside every handleOneMessage
    int messagesHandled = 0;

    bool receiveCommandActive(HostWindow) override
    {
        if (activePolls > 0) {
            --activePolls;
            return true;
        }
        return false;
    }
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
    // "beep", "box <text>", "icon", "post <id>" in the order they happened.
    std::vector<std::string> events;
    std::function<void()> whileBoxOpen;

    void beep() override { events.push_back("beep"); }
    void showMessageBox(HostWindow, const std::string& text) override
    {
        events.push_back("box " + text);
        if (whileBoxOpen) {
            whileBoxOpen();
        }
    }
    void startIconAlert(HostWindow) override { events.push_back("icon"); }
    void postCommand(HostWindow, uint32_t commandId) override
    {
        events.push_back("post " + std::to_string(commandId));
    }
};
