// The report list that fills the notification window: four columns without headers, in
// widths of 1, 2, 3 and 4 tenths of the window, one row per received message.
#pragma once

#include <windows.h>

#include "ui/notification_rows.h"

// Creates the list over parent's whole client area, with grid lines and its columns sized for
// that width (at least 100 pixels); null when it could not be created.
HWND CreateNotificationList(HWND parent, HINSTANCE instance);

// Fits the list to a new client size, its columns to the new width.
void ResizeNotificationList(HWND list, int width, int height);

// Inserts row at position index: bucket, sender, subject, body.
void AppendNotificationRow(HWND list, int index, const NotificationRow& row);

// The bottom of the last of rowCount rows as if the list were scrolled to its top: the first
// row's top is taken off, so a list the user scrolled does not make the window shrink.
int NotificationRowsBottom(HWND list, int rowCount);

// The list's border and, while it shows one, its horizontal scroll bar: the rows need that
// much more height to be seen. (The columns fill the window's client width, which is wider
// than the bordered list, so that bar is normally there.)
int NotificationListFrameHeight(HWND list);
