// The received-mail notification window: a small topmost tool window "受信メール表示" with
// one list row per message (bucket, sender, subject, body excerpt), growing with its rows,
// hidden and emptied on Escape or on a click in it. Its left edge, top edge and width are
// kept in the Setup section as winLeft, winTop and winWidth.
//
// Created hidden at start-up and only hidden afterwards; the plug-in never destroys it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/notification_rows.h"

struct PluginSettings;
class ProfileStore;
class FileSystem;

class NotificationWindow : public NotificationRows {
public:
    static constexpr const char* kClassName = "TARNWICK_MESSAGE_WINDOW";

    // The position is read from and written to settings; savePosition writes through
    // profile into the plug-in's INI file.
    NotificationWindow(PluginSettings& settings, ProfileStore& profile, FileSystem& files);
    // Detaches from a window that still exists, so that it never reaches a destroyed object.
    ~NotificationWindow() override;
    NotificationWindow(const NotificationWindow&) = delete;
    NotificationWindow& operator=(const NotificationWindow&) = delete;

    // Creates the hidden window, empty, at winLeft, winTop with width winWidth; the first
    // call registers the window class for instance. Does nothing while the window exists;
    // fails quietly.
    void create(HINSTANCE instance);
    // Recreates the window if it is gone, fits it to its rows and shows it topmost without
    // activating it or moving it.
    void show() override;
    // Appends a row; while shown the window grows to hold it.
    void addRow(const NotificationRow& row) override;
    int32_t rowCount() const override { return rowCount_; }
    // Posts a close request when the window exists and is visible.
    void closeIfVisible();
    // Sets the height that shows every row, the list's border and scroll bar included (the
    // smallest height without rows), keeping the left, top and width; the bottom stays inside
    // the monitor's work area.
    void fitToRows();
    // Stores and writes the window's top, left and width, when they changed.
    void savePosition();

    HWND window() const { return window_; }
    HWND list() const { return list_; }
    bool created() const { return created_; }
    bool shown() const { return shown_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void close();
    void setHeight(int height, bool repaint);

    PluginSettings& settings_;
    ProfileStore& profile_;
    FileSystem& files_;
    bool created_ = false;
    HWND window_ = nullptr;
    HWND list_ = nullptr;
    WNDCLASSA windowClass_ = {};
    HINSTANCE instance_ = nullptr;  // non-null: the class is registered
    int32_t rowCount_ = 0;
    bool shown_ = false;
};
