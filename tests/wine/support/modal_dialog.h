// Drives a modal dialog as a person would while the test's thread sits in the
// dialog's own message loop: a second thread finds the dialog, reads it and
// presses its controls through messages the dialog's thread handles.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

// Runs open (which shows the dialog modally) here and actions on a second
// thread; returns when both have ended. Dialogs still open a few seconds
// after the actions ended are cancelled, so a failed step cannot hang a test.
void Modal_Run(const std::function<void()> &open, const std::function<void()> &actions);

// A visible dialog (class #32770) of this process: the one with that caption,
// or any other than except; null after the timeout.
HWND Dialog_WaitFor(const wchar_t *caption, DWORD timeout = 5000);
HWND Dialog_WaitForOther(HWND except, DWORD timeout = 5000);
// Waits until the window is gone.
bool Dialog_WaitClosed(HWND dialog, DWORD timeout = 5000);

// A click on a button, posted.
void Dialog_Press(HWND dialog, int button);
// Selects an item of a drop-down or list box and notifies the dialog, as a
// person's choice does.
void Dialog_Choose(HWND dialog, int control, int index);
int Dialog_Selected(HWND dialog, int control);
// The items of a drop-down or list box, each followed by ';'.
std::wstring Dialog_Items(HWND dialog, int control);
std::wstring Dialog_Text(HWND dialog, int control);
