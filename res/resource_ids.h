// Identifiers shared by the resource scripts and the code. Plain macros, so that the resource
// compiler can read this file too.
#ifndef RES_RESOURCE_IDS_H
#define RES_RESOURCE_IDS_H

#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
#define IDR_MAINFRAME 128

#define IDM_ABOUTBOX 0x0010
// The Linux window's context menu only.
#define IDM_DIAGNOSTIC_REPORT 0x0020

#define IDC_DRIVE_COMBO 1000
#define IDC_LOG_EDIT 1006
#define IDC_CHECK_SETTING 1007
#define IDC_APPLY 1008
#define IDC_RESTORE_DEFAULT 1009
#define IDC_SPEED_ON 1020
#define IDC_SPEED_OFF 1021
#define IDC_SAVE_SPEED 1022
#define IDC_AUDIO_HIGH 1023
#define IDC_AUDIO_LOW 1024
#define IDC_SAVE_AUDIO 1025
#define IDC_AUDIO_DESCRIPTION 1027

#define IDS_ABOUTBOX 101
#define IDS_TARGET_NOT_FOUND 102
#define IDS_CURRENT_SETTING 103
#define IDS_NOT_SUPPORTED 107
#define IDS_LINE_BREAK 112
#define IDS_UNKNOWN_OS 116
#define IDS_OPEN_FAILED 118
#define IDS_COMPLETE 119
#define IDS_UNEXPECTED_ERROR 120
#define IDS_DEFAULT_SETTING 121
#define IDS_SPEED_LABEL 137
#define IDS_ON 138
#define IDS_OFF 139
#define IDS_AUDIO_LABEL 140
#define IDS_HIGH_SPEED_MODE 142
#define IDS_LOW_SPEED_MODE 143
#define IDS_HIGH_SPEED_DESCRIPTION 144
#define IDS_LOW_SPEED_DESCRIPTION 145
#define IDS_CREATE_MUTEX_FAILED 146
#define IDS_UNSUPPORTED_OS 147
#define IDS_AUDIO_SET_FAILED 148
#define IDS_SPEED_SET_FAILED 149
#define IDS_SETTING_UP_APPLY 150
#define IDS_SETTING_UP_RESTORE 151

// Linux only: what the system refused, and why no drive is listed.
#define IDS_NODE_ACCESS_DENIED 160
#define IDS_WRITE_NEEDS_SG 161
#define IDS_NO_OPTICAL_DRIVE 162
#define IDS_NO_SUPPORTED_DRIVE 163
// Linux: the node that refused a write; a node held, gone or failing; a drive another writer has.
#define IDS_WRITE_REFUSED_ON_NODE 164
#define IDS_NODE_BUSY 165
#define IDS_NODE_GONE 166
#define IDS_NODE_IO_ERROR 167
#define IDS_DRIVE_LOCKED 168
#define IDS_DRIVE_IN_USE 169
#define IDS_DISC_MOUNTED 170
#define IDS_DRIVE_GONE 171
#define IDS_NOW_THROUGH_GENERIC_NODE 172

// The command-line companion (velmora-drive): 200 to 259.
#define IDS_CLI_MODEL_LABEL 200
#define IDS_CLI_SUPPORTED 201
#define IDS_CLI_SAVED_LABEL 202
#define IDS_CLI_CHANGEABLE_LABEL 203
#define IDS_CLI_CHANGEABLE_YES 204
#define IDS_CLI_CHANGEABLE_NO 205
#define IDS_CLI_NOT_QUALIFYING 206
#define IDS_CLI_NO_MODEL_REPLY 207
#define IDS_CLI_OTHER_MODEL 208
#define IDS_CLI_ON_DEVICE 209
#define IDS_CLI_REASON 210
#define IDS_CLI_NO_SUCH_DEVICE 211
#define IDS_CLI_NOT_SUPPORTED_DRIVE 212
#define IDS_CLI_SEVERAL_DRIVES 213
#define IDS_CLI_ADVICE_CDROM_GROUP 214
#define IDS_CLI_ADVICE_ELEVATED 215
#define IDS_CLI_CANNOT_READ_SETTINGS 216
#define IDS_CLI_DISC_STOPPED 217
#define IDS_CLI_DISC_WOULD_STOP 218
#define IDS_CLI_CONFIRMED 219
#define IDS_CLI_NOT_CONFIRMED 220
#define IDS_CLI_NOT_READY 221
#define IDS_CLI_NOT_WRITTEN 222
#define IDS_CLI_DRY_RUN 223
#define IDS_CLI_WOULD_WRITE 224
#define IDS_CLI_AND_SAVED 225
#define IDS_CLI_WRITE_NO_ACCESS 226
#define IDS_CLI_SENSE 227
#define IDS_CLI_TIMED_OUT 228
#define IDS_CLI_NOT_SENT 229
#define IDS_CLI_NAME_A_SETTING 230
#define IDS_CLI_ONE_COMMAND 231
#define IDS_CLI_CANNOT_START 232
#define IDS_CLI_STOP_FAILED 233
#define IDS_CLI_USAGE_ERROR 234
#define IDS_CLI_SHORT_REPLY 235
#define IDS_CLI_REFUSED 236
#define IDS_CLI_DRIVE_BUSY 237
#define IDS_CLI_OPEN_BUSY 238
#define IDS_CLI_OPEN_ABSENT 239
#define IDS_CLI_OPEN_NO_ANSWER 240
#define IDS_CLI_NOT_OPENED 241
#define IDS_CLI_INTERRUPTED_WRITE 242
#define IDS_CLI_INTERRUPTED 243
#define IDS_CLI_OUTPUT_FAILED 244
#define IDS_CLI_NOT_READ_AGAIN 245
#define IDS_CLI_DRIVE_REFUSED_WRITE 246
#define IDS_CLI_WOULD_BE_REFUSED 247
#define IDS_CLI_DRY_RUN_NEEDS_SG 248
#define IDS_CLI_DISC_MOUNTED 249
#define IDS_CLI_DRIVE_GONE 250

// Linux window: the names a screen reader speaks for the controls that show no caption of their
// own: 310 to 329.
#define IDS_DRIVE_LIST_NAME 310
#define IDS_LOG_NAME 311

// velmora-drive: DEVICE names, the JSON promise, shell completion: 380 to 399.
#define IDS_CLI_NOT_LISTED_DRIVE 380
// The diagnostic report: the Linux window's menu item and file dialog, velmora-drive report's
// lines: 330 to 349.
#define IDS_REPORT_MENU_ITEM 330
#define IDS_REPORT_SAVE_TITLE 331
#define IDS_REPORT_FILE_TYPES 332
#define IDS_REPORT_NOT_SAVED 333
#define IDS_CLI_REPORT_WRITTEN 334
#define IDS_CLI_REPORT_NOT_WRITTEN 335

// Adapters and replayed reports: an optical drive that did not answer the maker's identification
// query (or cut its answer short), in the Linux window and velmora-drive; a report that cannot be
// replayed: 350 to 379.
#define IDS_IDENTIFICATION_NOT_ANSWERED 350
#define IDS_MODEL_REPLY_SHORT 351
#define IDS_CLI_IDENTIFICATION_NOT_ANSWERED 352
#define IDS_CLI_MODEL_REPLY_SHORT 353
#define IDS_CLI_REPLAY_UNUSABLE 354
#define IDS_REPLAY_UNUSABLE 355
#define IDS_DEMO_USAGE 356

#endif
