// Identifiers of the program's resources, shared by kelvane.rc and the code that loads them.
#ifndef KELVANE_RESOURCE_IDS_H
#define KELVANE_RESOURCE_IDS_H

// Main window: program name and the mapping messages of the status bar.
#define IDS_PROGRAM_NAME 1
#define IDS_NTSTATUS_MAPPED 2
#define IDS_NTSTATUS_NOT_MAPPED 3
#define IDS_WIN32_ONE_NTSTATUS 4
#define IDS_WIN32_SEVERAL_NTSTATUS 5
#define IDS_WIN32_NO_NTSTATUS 6
#define IDS_NTSTATUS_MAPPED_UNDESCRIBED 7

// Settings dialog.
#define IDS_SELECT 8
#define IDS_CONFIGURE_TITLE 9
#define IDS_HEADER_FILES 10
#define IDS_NTSTATUS_H 11
#define IDS_WINERROR_H 12
#define IDS_OK 13
#define IDS_CANCEL 14

// Large and small icon of the main window.
#define IDI_KELVANE 101

#endif
