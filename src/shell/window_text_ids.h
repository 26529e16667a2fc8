/* String identifiers of the window texts in the language libraries
   (Fernwick_XXX.dll). Plain macros: the libraries' resource scripts include
   this file too. */
#pragma once

#define IDS_LABEL1 100
#define IDS_BROWSE 101
#define IDS_WRITE_TO_FILE 102
#define IDS_EXIT 103
#define IDS_GO 104
#define IDS_WORKING 105
#define IDS_FINISHED 106
#define IDS_MENU_FILE 110
#define IDS_MENU_PASTE_TO_CLIPBOARD 111
#define IDS_MENU_HELP 112
#define IDS_MENU_ABOUT 113
#define IDS_MENU_CHECK_FOR_UPDATED_VERSION 114
#define IDS_GATHERING 120
#define IDS_VERSION_TITLE 200
#define IDS_CHANGE_LANGUAGE 201
#define IDS_OK 202
#define IDS_NO_LANGUAGES_LOADED 203
#define IDS_NOTICE_1 210
#define IDS_NOTICE_2 211
#define IDS_NOTICE_3 212
#define IDS_NOTICE_4 213
#define IDS_NOTICE_5 214
