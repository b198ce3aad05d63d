// Control ids of the information and version pages; each keeps its number, which automation relies on.
#pragma once

// Information page
#define IDC_NAMES 1500
#define IDC_MEMORY_TOTAL_CAPTION 1501
#define IDC_MEMORY_TOTAL 1502
#define IDC_MEMORY_TOTAL_UNIT 1503
#define IDC_MEMORY_FREE_CAPTION 1504
#define IDC_MEMORY_FREE 1505
#define IDC_MEMORY_FREE_UNIT 1506
#define IDC_MEMORY_LOAD_CAPTION 1507
#define IDC_MEMORY_LOAD 1508
#define IDC_MEMORY_LOAD_UNIT 1509
#define IDC_SCREEN 1510
#define IDC_DRIVES 1511

// Version page
#define IDC_TITLE_VERSION 1700
#define IDC_RELEASE_DATE 1701
#define IDC_AUTHOR 1702
#define IDC_MAIL_CAPTION 1703
#define IDC_MAIL_LINK 1704
#define IDC_HOMEPAGE_CAPTION 1705
#define IDC_HOMEPAGE_LINK 1706
