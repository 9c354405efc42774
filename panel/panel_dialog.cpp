#include "panel/panel_dialog.h"

CKeloConfigurationDlg::CKeloConfigurationDlg(Host& host, SerialPort& port)
    : host_(host), port_(port) {}
