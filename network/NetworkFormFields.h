#pragma once

#include "config/FieldCatalog.h"
#include "network/NetworkFormValues.h"
#include "resources/templates/MmsSetupIds.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tarnwick {

// How a network text is cleaned before it is stored.
enum class TextCleanup : std::uint8_t {
  Trim,      // white space at both ends
  NoSpaces,  // every ' '
  Url,       // every ' ', then the leading run of '/'
  Proxy,     // every ' ' and every ':'
  Mailbox,   // every ' ', ';' and ','
};

// What the network window does with a text besides loading it from its field at opening and
// storing it, cleaned, on OK.
enum NetworkTextUse : std::uint8_t {
  kExchanged = 1u << 0,          // bound in the data exchange, typing limited to the field width
  kShownAtOpening = 1u << 1,     // put into its box once the lists have been set up
  kOperatorParameter = 1u << 2,  // one of the nine the operator table fills (in row order)
  kReadFromBox = 1u << 3,        // OK reads the box itself (a box without a typing limit)
  kChosenPassword = 1u << 4,     // stored as the SMTP password the mask stands for
};

// One text of the network form: the member of the form (the window's form text and the snapshot
// OK stores), the record field it is loaded from and stored to (whose width is the typing
// limit), its clean-up, its box in the window and its uses.
struct NetworkTextField {
  std::u16string NetworkFormValues::*value;
  const FieldInfo* field;
  TextCleanup cleanup;
  int box;
  std::uint8_t uses;

  constexpr bool has(NetworkTextUse use) const { return (uses & use) != 0; }
};

// Every text of the network form, once. The order is the data exchange's, in which a refused
// text stops it; storing follows it too (the fields do not overlap).
// A new text field is one row here plus its control in the window's template.
namespace networkform {
using V = NetworkFormValues;
using C = TextCleanup;
namespace id = resources::ids::mmsSetupDlg;
inline constexpr std::uint8_t kOpening = kExchanged | kShownAtOpening;
inline constexpr std::uint8_t kParameter = kExchanged | kOperatorParameter;

inline constexpr std::array<NetworkTextField, 24> kTextFields{{
    {&V::mmsApn, &fields::mmsApn, C::Trim, id::kMmsApnEdit, kParameter},
    {&V::mmsAccount, &fields::mmsAccount, C::Trim, id::kMmsAccountEdit, kParameter},
    {&V::mmsPassword, &fields::mmsPassword, C::Trim, id::kMmsPasswordEdit, kParameter},
    {&V::dataApn, &fields::dataApn, C::Trim, id::kDataApnEdit, kParameter},
    {&V::dataAccount, &fields::dataAccount, C::Trim, id::kDataAccountEdit, kParameter},
    {&V::dataPassword, &fields::dataPassword, C::Trim, id::kDataPasswordEdit, kParameter},
    {&V::mmscUrl, &fields::mmscUrl, C::Url, id::kMmscUrlEdit, kParameter},
    {&V::mmsProxy, &fields::mmsProxy, C::Proxy, id::kMmsProxyEdit, kParameter},
    {&V::mmsPort, &fields::mmsPort, C::NoSpaces, id::kMmsPortEdit, kParameter},
    {&V::phone1, &fields::phone1, C::NoSpaces, id::kPhone1Edit, kOpening},
    {&V::mailbox1, &fields::mailbox1, C::Mailbox, id::kMailbox1Edit, kOpening},
    {&V::phone2, &fields::phone2, C::NoSpaces, id::kPhone2Edit, kOpening},
    {&V::phone3, &fields::phone3, C::NoSpaces, id::kPhone3Edit, kOpening},
    {&V::mailbox2, &fields::mailbox2, C::Mailbox, id::kMailbox2Edit, kOpening},
    {&V::mailbox3, &fields::mailbox3, C::Mailbox, id::kMailbox3Edit, kOpening},
    {&V::smtpPort, &fields::smtpPort, C::NoSpaces, id::kSmtpPortEdit, kExchanged},
    {&V::smtpServer, &fields::smtpServer, C::NoSpaces, id::kSmtpServerEdit, kExchanged},
    {&V::smtpEmail, &fields::smtpEmail, C::NoSpaces, id::kSmtpEmailEdit, kExchanged},
    {&V::smtpPasswordBox, &fields::smtpPassword, C::NoSpaces, id::kSmtpPasswordEdit,
     kReadFromBox | kChosenPassword},
    {&V::ftpServer, &fields::ftpServer, C::NoSpaces, id::kFtpServerEdit, kOpening},
    {&V::ftpPort, &fields::ftpPort, C::NoSpaces, id::kFtpPortEdit, kOpening},
    {&V::ftpAccount, &fields::ftpAccount, C::NoSpaces, id::kFtpAccountEdit, kOpening},
    {&V::ftpPassword, &fields::ftpPassword, C::NoSpaces, id::kFtpPasswordEdit, kOpening},
    {&V::ftpDirectory, &fields::ftpDirectory, C::Trim, id::kFtpDirectoryEdit, kReadFromBox},
}};
}  // namespace networkform

inline constexpr std::span<const NetworkTextField> networkTextFields() {
  return networkform::kTextFields;
}

// The nine texts the operator table fills, in the order of an operator row's fields 1-9.
inline constexpr std::array<const NetworkTextField*, 9> operatorParameterFields() {
  std::array<const NetworkTextField*, 9> out{};
  std::size_t n = 0;
  for (const NetworkTextField& f : networkform::kTextFields) {
    if (f.has(kOperatorParameter) && n < out.size()) out[n++] = &f;
  }
  return out;
}

// The row of a record field, or nullptr.
const NetworkTextField* networkTextFieldFor(const FieldInfo& field);

// A text cleaned by its rule.
std::u16string cleanNetworkText(std::u16string text, TextCleanup cleanup);

}  // namespace tarnwick
