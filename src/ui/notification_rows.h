// What the received-mail notification window offers the code that fills it. The window
// itself (notification_window_win.h) implements it; tests record the rows.
#pragma once

#include <cstdint>
#include <string>

// One row of the window: four Shift-JIS texts in column order, any of them may be empty.
struct NotificationRow {
    std::string bucket;
    std::string sender;
    std::string subject;
    std::string body;
};

class NotificationRows {
public:
    virtual ~NotificationRows() = default;
    // Appends the row below the others; the window grows with it while shown.
    virtual void addRow(const NotificationRow& row) = 0;
    // Rows in the window, including those of earlier retrievals not yet dismissed.
    virtual int32_t rowCount() const = 0;
    // Shows the window above the others without taking the focus.
    virtual void show() = 0;
};
