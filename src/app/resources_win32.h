// Resource numbers shared by zelvio.rc and the code that loads the pictures.
#pragma once

// The first icon is the one Explorer and the task bar show for the program.
#define IDI_ZELVIO 1

// Toolbar pictures, 22 x 22, in image-list order: record, pause, stop, snapshot, snapshot
// being taken.
#define IDI_BUTTON_FIRST 101
#define IDI_BUTTON_RECORD 101
#define IDI_BUTTON_PAUSE 102
#define IDI_BUTTON_STOP 103
#define IDI_BUTTON_SNAPSHOT 104
#define IDI_BUTTON_SNAPSHOT_FLASH 105

// The same pictures as a disabled button shows them, same order.
#define IDI_BUTTON_DISABLED_FIRST 121
#define IDI_BUTTON_RECORD_OFF 121
#define IDI_BUTTON_PAUSE_OFF 122
#define IDI_BUTTON_STOP_OFF 123
#define IDI_BUTTON_SNAPSHOT_OFF 124
#define IDI_BUTTON_SNAPSHOT_FLASH_OFF 125

// Pictures of the four option tabs, 16 x 16, in tab order.
#define IDI_TAB_FIRST 111
#define IDI_TAB_SCREEN 111
#define IDI_TAB_VIDEO 112
#define IDI_TAB_AUDIO 113
#define IDI_TAB_GENERAL 114
