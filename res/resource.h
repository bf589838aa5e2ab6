// Resource identifiers of Snapdisc.
#pragma once

#define IDD_SNAPDISC_DIALOG 102

#define IDC_PHOTO_LIST 1000
#define IDC_PREVIEW 1001
#define IDC_DELAY_EDIT 1004
#define IDC_RECORDERS 1013
#define IDC_EXIT 1100
