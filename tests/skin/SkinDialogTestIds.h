#pragma once

#define IDD_SKIN_TOP 9001
#define IDD_SKIN_PAGE 9002
#define IDC_SKIN_EDIT 9010
