// The service addresses, paths and fixed values of the program's requests.
#pragma once

#ifndef UNINST_STATS_HOST
#error "the service hosts must be defined by the build"
#endif

namespace net {

inline constexpr wchar_t kStatsHost[] = UNINST_STATS_HOST;
inline constexpr wchar_t kFeedbackHost[] = UNINST_FEEDBACK_HOST;
inline constexpr wchar_t kConfigHost[] = UNINST_CONFIG_HOST;

// Statistics report template; the placeholders are filled by CStatistic.
inline constexpr wchar_t kReportTemplate[] =
    L"/dot?ptype=kelvo&pid={pid}&type={type}&action={action}&appver={ver}&mid={mid}&mid2={mid2}";

inline constexpr wchar_t kOptionsPathFormat[] = L"/live/intf/getUninstallOptions?appver=%s&modver=%s&pid=%s";
inline constexpr wchar_t kConfigPathFormat[] = L"/live/intf/GetConfig?appver=%s&modver=%s&pid=%s";
inline constexpr wchar_t kReasonPath[] = L"/live/uninstall/addUninstallReason?";
inline constexpr wchar_t kContactPath[] = L"/live/uninstall/addFeedback?";

// Product ids of this family (any case, anywhere in the id) get the questionnaire configuration.
inline constexpr wchar_t kQuestionnaireFamily[] = L"ridizir";
// The tag that opens every suggestion text.
inline constexpr wchar_t kSuggestionTag[] = L"【凯洛】";
// The first reason box's control id and the number it stands for in "reason".
inline constexpr int kFirstReasonBox = 1000;
inline constexpr int kFirstReasonNumber = 11;
inline constexpr int kReasonBoxCount = 6;

// The options' wait at the main window's creation.
inline constexpr unsigned kOptionsWaitMs = 2000;
// Posted to the contact form's owner when the server accepted the contact details.
inline constexpr unsigned kContactAcceptedMessage = 1244;

inline constexpr unsigned kUtf8CodePage = 65001;

}  // namespace net
