#include "network/SmtpPresetTable.h"

#include <string>

// The vendor settings come from the build (CMake cache variables of the same names); the
// defaults live under a reserved domain, so an unconfigured build never sends mail anywhere.
#ifndef TARNWICK_VENDOR_SMTP_HOST
#define TARNWICK_VENDOR_SMTP_HOST "smtp.example.com"
#endif
#ifndef TARNWICK_VENDOR_MAIL_DOMAIN
#define TARNWICK_VENDOR_MAIL_DOMAIN "example.com"
#endif

namespace tarnwick {

namespace {

constexpr std::u16string_view kVendorHost = u"" TARNWICK_VENDOR_SMTP_HOST;
constexpr std::u16string_view kVendorMailDomain = u"" TARNWICK_VENDOR_MAIL_DOMAIN;

// The record's smtpServer and smtpEmail fields are 32 bytes; "default1@" takes 9 of them.
static_assert(!kVendorHost.empty() && kVendorHost.size() <= 32,
              "TARNWICK_VENDOR_SMTP_HOST must be 1 to 32 characters (the smtpServer field)");
static_assert(!kVendorMailDomain.empty() && kVendorMailDomain.size() <= 32 - 9,
              "TARNWICK_VENDOR_MAIL_DOMAIN must be 1 to 23 characters so that "
              "\"default1@\" plus the domain fits the 32-byte smtpEmail field");

// The shared password of the five vendor accounts.
constexpr std::u16string_view kVendorPassword = u"merolax7351!";

// Public submission hosts of the providers. Outlook and Hotmail are one service.
constexpr std::u16string_view kGmailHost = u"smtp.gmail.com";
constexpr std::u16string_view kOutlookHost = u"smtp-mail.outlook.com";
constexpr std::u16string_view kYahooHost = u"smtp.mail.yahoo.com";
constexpr std::u16string_view kMailComHost = u"smtp.mail.com";
constexpr std::u16string_view kYandexHost = u"smtp.yandex.com";

constexpr std::int32_t kNoSsl = 0;
constexpr std::int32_t kSsl = 1;
constexpr std::int32_t kStartTls = 2;

std::u16string str(std::u16string_view v) { return std::u16string(v); }

SmtpPreset vendorRow(int number, std::u16string_view host, std::u16string_view domain) {
  const std::u16string name = u"default" + std::u16string(1, static_cast<char16_t>(u'0' + number));
  return {name, kSsl, str(host), u"465", name + u"@" + str(domain), str(kVendorPassword)};
}

SmtpPreset providerRow(std::u16string_view name, std::int32_t encryption,
                       std::u16string_view host, std::u16string_view port) {
  return {str(name), encryption, str(host), str(port), {}, {}};
}

}  // namespace

SmtpPresetTable::SmtpPresetTable() : SmtpPresetTable(kVendorHost, kVendorMailDomain) {}

SmtpPresetTable::SmtpPresetTable(std::u16string_view vendorHost,
                                 std::u16string_view vendorMailDomain)
    : rows_{vendorRow(1, vendorHost, vendorMailDomain),
            vendorRow(2, vendorHost, vendorMailDomain),
            vendorRow(3, vendorHost, vendorMailDomain),
            vendorRow(4, vendorHost, vendorMailDomain),
            vendorRow(5, vendorHost, vendorMailDomain),
            SmtpPreset{u"Other", kNoSsl, {}, u"25", {}, {}},
            providerRow(u"Gmail", kSsl, kGmailHost, u"465"),
            providerRow(u"Outlook", kStartTls, kOutlookHost, u"587"),
            providerRow(u"Hotmail", kStartTls, kOutlookHost, u"587"),
            providerRow(u"Yahoo", kSsl, kYahooHost, u"465"),
            providerRow(u"Mail", kSsl, kMailComHost, u"465"),
            providerRow(u"Yandex", kSsl, kYandexHost, u"465")} {}

const SmtpPreset* SmtpPresetTable::row(std::int64_t position) const {
  if (position < 0 || static_cast<std::uint64_t>(position) >= rows_.size()) return nullptr;
  return &rows_[static_cast<std::size_t>(position)];
}

const SmtpPresetTable& programSmtpPresetTable() {
  static const SmtpPresetTable table;
  return table;
}

}  // namespace tarnwick
