// Template and control ids of the Focus stack window, shared by
// res/dialogs_focus_stack.rc and its procedure.
#pragma once

#define IDD_FOCUS_STACK 2040

#define IDC_STACK_MODE_LABEL 100
#define IDC_STACK_FROM_LABEL 101
#define IDC_STACK_TO_LABEL 102
#define IDC_STACK_STEPS_LABEL 103
#define IDC_STACK_MODE 1401
#define IDC_STACK_FROM 1402
#define IDC_STACK_TO 1403
#define IDC_STACK_STEPS 1404
#define IDC_STACK_KEEP_FRAMES 1405
#define IDC_STACK_COUNT 1406
#define IDC_STACK_PROGRESS 1407
#define IDC_STACK_TAKE 1408
// Button 1 (IDOK) starts, then stops and fuses; button 2 (IDCANCEL) cancels
// a series, or closes.
