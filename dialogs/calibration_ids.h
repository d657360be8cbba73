// Template and control ids of the calibration dialogs, shared by their
// resource script and their code.
#pragma once

#define IDD_CONFIG_CALIBRATIONS 2004
#define IDD_CALIBRATION 2005
#define IDD_CALIBRATION_NAME 2006

// Config calibrations: the table and its buttons (Apply is 6, Exit 2).
#define IDC_CALIBRATION_TABLE 3005
#define IDC_CALIBRATION_EDIT 1030
#define IDC_CALIBRATION_DELETE 1031
#define IDC_CALIBRATION_CALIBRATE 3017

// Calibration: the explanations, the length and its unit (OK 1, Cancel 2).
#define IDC_CALIBRATION_HINT1 100
#define IDC_CALIBRATION_HINT2 101
#define IDC_CALIBRATION_UNIT_SHOWN 102
#define IDC_CALIBRATION_UNIT_LABEL 103
#define IDC_CALIBRATION_REFUSAL 104 // why a typed length is refused
#define IDC_CALIBRATION_LENGTH 3011
#define IDC_CALIBRATION_UNIT 1005
#define IDC_CALIBRATION_HELP 3038

// Edit calibration name (OK 1, Cancel 2).
#define IDC_CALIBRATION_NAME_LABEL 100
#define IDC_CALIBRATION_NAME 1019
