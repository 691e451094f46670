#pragma once

#include "appsvc/Win32Api.h"

// Reflection of child notifications: a parent that receives WM_COMMAND, WM_NOTIFY, the owner-draw and
// list-box messages, WM_HSCROLL / WM_VSCROLL, WM_PARENTNOTIFY or WM_CTLCOLOR* from a child sends the
// message back to that child as message + REFLECTED_MESSAGE_OFFSET, so each control handles its own
// notifications.
inline constexpr UINT REFLECTED_MESSAGE_OFFSET = 0x2000;

// The child a notification comes from, or null when the message is not a child notification (a menu
// command, a window's own scroll bar, another message).
HWND FindNotificationSource(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);

// Sends a child notification back to its child. True when the message is finished with `result` as
// the parent's answer; false when the parent's own processing must run: the message is not a child
// notification, or a WM_CTLCOLOR* message came back with 0 (not handled).
bool ReflectNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// True for the reflected forms of the messages above.
bool IsReflectedMessage(UINT message);

// The child's side: a reflected message that the child's class did not handle gets the default
// processing of the original message. True (with the result) for reflected messages.
bool DefaultReflectionHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
