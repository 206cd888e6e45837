#include "fleet/ApnList.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <expat.h>

namespace tarnwick {

namespace {

struct ParserDeleter {
  void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

struct ReadState {
  XML_Parser parser = nullptr;
  ApnList list;
  std::string countryCode;
  bool rootChecked = false;
  std::string rootError;
};

std::string* attributeSlot(ApnEntry& entry, const char* name) {
  struct Slot {
    const char* name;
    std::string ApnEntry::*member;
  };
  static constexpr Slot kSlots[] = {
      {"mcc", &ApnEntry::mcc},           {"mnc", &ApnEntry::mnc},
      {"carrier", &ApnEntry::carrier},   {"apn", &ApnEntry::apn},
      {"user", &ApnEntry::user},         {"password", &ApnEntry::password},
      {"type", &ApnEntry::type},         {"proxy", &ApnEntry::proxy},
      {"mmsc", &ApnEntry::mmsc},         {"mmsproxy", &ApnEntry::mmsProxy},
      {"mmsport", &ApnEntry::mmsPort},   {"mvno_type", &ApnEntry::mvnoType},
      {"mvno_match_data", &ApnEntry::mvnoMatchData},
  };
  for (const Slot& slot : kSlots) {
    if (std::strcmp(slot.name, name) == 0) return &(entry.*slot.member);
  }
  return nullptr;
}

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& state = *static_cast<ReadState*>(data);
  if (!state.rootChecked) {
    state.rootChecked = true;
    if (std::strcmp(name, "apns") != 0) {
      state.rootError = std::string("the root element is <") + name + ">, not <apns>";
      XML_StopParser(state.parser, XML_FALSE);
    }
    return;
  }
  if (std::strcmp(name, "apn") != 0) return;
  ApnEntry entry;
  entry.countryCode = state.countryCode;
  entry.line = static_cast<std::size_t>(XML_GetCurrentLineNumber(state.parser));
  for (const XML_Char** a = attributes; a[0] != nullptr && a[1] != nullptr; a += 2) {
    if (std::string* slot = attributeSlot(entry, a[0])) *slot = a[1];
  }
  state.list.entries.push_back(std::move(entry));
}

// "<!-- DE.xml -->": the entries that follow are Germany's; any other comment changes nothing
// but "INTL.xml", whose entries belong to no country.
void XMLCALL onComment(void* data, const XML_Char* text) {
  auto& state = *static_cast<ReadState*>(data);
  std::string_view t(text);
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t' || t.front() == '\n')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\n')) t.remove_suffix(1);
  if (t == "INTL.xml") {
    state.countryCode.clear();
    return;
  }
  if (t.size() == 6 && t.substr(2) == ".xml" && t[0] >= 'A' && t[0] <= 'Z' && t[1] >= 'A' &&
      t[1] <= 'Z') {
    state.countryCode = std::string(t.substr(0, 2));
  }
}

}  // namespace

bool apnServes(const ApnEntry& entry, std::string_view service) {
  std::string_view types = entry.type;
  if (types.empty()) return true;
  while (!types.empty()) {
    const std::size_t comma = types.find(',');
    std::string_view item = types.substr(0, comma);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    if (item == service || item == "*") return true;
    if (comma == std::string_view::npos) break;
    types.remove_prefix(comma + 1);
  }
  return false;
}

ApnList readApnList(std::string_view xml) {
  std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreate(nullptr));
  ApnList failed;
  if (!parser) {
    failed.error = "out of memory for the XML parser";
    return failed;
  }
  ReadState state;
  state.parser = parser.get();
  XML_SetUserData(parser.get(), &state);
  XML_SetStartElementHandler(parser.get(), onStart);
  XML_SetCommentHandler(parser.get(), onComment);

  // expat takes an int length: feed the document in pieces that fit.
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  bool ok = true;
  std::size_t offset = 0;
  do {
    const std::size_t length = std::min(kPiece, xml.size() - offset);
    const bool last = offset + length == xml.size();
    if (XML_Parse(parser.get(), xml.data() + offset, static_cast<int>(length),
                  last ? XML_TRUE : XML_FALSE) != XML_STATUS_OK) {
      ok = false;
      break;
    }
    offset += length;
  } while (offset < xml.size());

  if (!ok || !state.rootChecked) {
    failed.errorLine = static_cast<std::size_t>(XML_GetCurrentLineNumber(parser.get()));
    if (!state.rootError.empty()) {
      failed.error = state.rootError;
    } else if (!ok) {
      failed.error = XML_ErrorString(XML_GetErrorCode(parser.get()));
    } else {
      failed.error = "no root element";
    }
    return failed;
  }
  return std::move(state.list);
}

}  // namespace tarnwick
