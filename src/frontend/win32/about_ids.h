/* Window class and control identifiers of the About window; the Wine test
   driver finds the controls by these. */
#pragma once
#define FERNWICK_ABOUT_CLASS "FernwickAboutWindow"
#define FERNWICK_ABOUT_LOGO 2000
#define FERNWICK_ABOUT_LOGO_GIF 2001
#define FERNWICK_ABOUT_VERSION_TITLE 2002
#define FERNWICK_ABOUT_VERSION 2003
#define FERNWICK_ABOUT_NOTICE_1 2004 /* to 2008 */
#define FERNWICK_ABOUT_CHANGE_LANGUAGE 2009
#define FERNWICK_ABOUT_OK 2010
/* Item i of the language menu has the command 3000 + i. */
#define FERNWICK_ABOUT_LANGUAGE_ITEM 3000
/* The logos, resources of the program. */
#define FERNWICK_LOGO_BITMAP 2100
#define FERNWICK_LOGO_GIF 2101
