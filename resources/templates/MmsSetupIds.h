#pragma once

// The control ids of "MMS / 4G Setup", apart from its template so that the platform-free
// network form table can name the boxes without the dialog layer.

namespace tarnwick::resources {

namespace ids::mmsSetupDlg {
inline constexpr int kTemplate = 135;

// "Setup" group.
inline constexpr int kModeList = 1122;
inline constexpr int kCountryList = 1124;
inline constexpr int kOperatorList = 1126;
inline constexpr int kMmsOptionList = 1023;
inline constexpr int kDataOptionList = 1024;
inline constexpr int kShowParameters = 1152;  // check box "Show 4G Parameters"

// "MMS APN", "Data APN" and "MMS Server" groups: the nine operator parameters.
inline constexpr int kMmsApnEdit = 1081;
inline constexpr int kMmsAccountEdit = 1083;
inline constexpr int kMmsPasswordEdit = 1064;
inline constexpr int kDataApnEdit = 1105;
inline constexpr int kDataAccountEdit = 1107;
inline constexpr int kDataPasswordEdit = 1067;
inline constexpr int kMmscUrlEdit = 1085;
inline constexpr int kMmsProxyEdit = 1087;
inline constexpr int kMmsPortEdit = 1119;

// "Phone Number" group.
inline constexpr int kPhone1Edit = 1089;
inline constexpr int kPhone2Edit = 1093;
inline constexpr int kPhone3Edit = 1095;

// "SMTP Server" group.
inline constexpr int kSmtpTypeList = 1142;
inline constexpr int kEncryptList = 1145;
inline constexpr int kSmtpServerEdit = 1137;
inline constexpr int kSmtpPortEdit = 1139;
inline constexpr int kSmtpEmailEdit = 1143;
inline constexpr int kSmtpPasswordEdit = 1102;

// "FTP Server" group.
inline constexpr int kFtpServerEdit = 1148;
inline constexpr int kFtpPortEdit = 1150;
inline constexpr int kFtpAccountEdit = 1153;
inline constexpr int kFtpPasswordEdit = 1109;
inline constexpr int kFtpDirectoryList = 1154;
inline constexpr int kFtpDirectoryEdit = 1110;

// "Recipient Email" group.
inline constexpr int kMailbox1Edit = 1091;
inline constexpr int kMailbox2Edit = 1097;
inline constexpr int kMailbox3Edit = 1099;
}  // namespace ids::mmsSetupDlg

}  // namespace tarnwick::resources
