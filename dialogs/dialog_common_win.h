// What every dialog does when it opens: take its place, and its texts from
// the language table when the language is not English.
#pragma once
#include "dialogs/placement.h"

#include <windows.h>

// Moves the dialog once (SWP_NOZORDER | SWP_NOSIZE) as placement.h says,
// relative to reference (its parent when null).
void Dialog_Place(HWND dialog, DialogPlace place, HWND reference = nullptr);
// Moves the dialog to a remembered screen position.
void Dialog_PlaceAt(HWND dialog, Point origin);

// A control (0 for the caption) and the text id it takes.
struct DialogText {
    int control;
    int textId;
};

// With a language other than English, replaces the caption and control
// texts by the table's; English keeps the template's texts.
void Dialog_ApplyTexts(HWND dialog, const DialogText *texts, int count);
// Replaces them whatever the language (texts every language takes from the
// table).
void Dialog_SetTexts(HWND dialog, const DialogText *texts, int count);

// Lets the user choose a folder (the shell's folder browser, titled with
// text titleText) and puts its path into the dialog's edit control.
void Dialog_BrowseFolder(HWND dialog, int edit, int titleText);
