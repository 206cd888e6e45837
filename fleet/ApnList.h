#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Android's list of mobile access points, apns-conf.xml: a root element <apns> holding one
// empty <apn> element per access point, its settings as attributes:
//
//   <apn mcc="262" mnc="01" carrier="Telekom Internet" apn="internet.telekom"
//        type="default,supl" mmsc="" mmsproxy="" mmsport="" user="" password=""/>
//
// mcc and mnc are the network's country and network codes (kept as text: "020" is not "20"),
// carrier a display name, type a comma-separated list of what the access point serves
// (default = data, mms, supl, ..., "*" = everything; no type means everything as well), and
// mvno_type / mvno_match_data mark entries of a virtual operator that shares the host
// network's codes. An empty attribute means the same as a missing one.
//
// Lists merged from one file per country (as LineageOS builds its list) carry a comment
// naming each country's file before its entries (<!-- DE.xml -->); the reader keeps that
// country code with every entry that follows it.
//
// The XML is parsed with expat, streaming: memory grows with the entries kept, not with the
// document's structure, and expat's own limits stop entity-expansion attacks. Nothing
// outside the document is ever loaded (no external entities, no DTD).

namespace tarnwick {

struct ApnEntry {
  std::string mcc;
  std::string mnc;
  std::string carrier;
  std::string apn;
  std::string user;
  std::string password;
  std::string type;
  std::string proxy;
  std::string mmsc;
  std::string mmsProxy;
  std::string mmsPort;
  std::string mvnoType;
  std::string mvnoMatchData;
  std::string countryCode;  // from the last "<!-- CC.xml -->" comment before it, else empty
  std::size_t line = 0;     // where the element starts, counting from 1
};

struct ApnList {
  std::vector<ApnEntry> entries;  // in document order
  std::string error;              // empty when the document was read whole
  std::size_t errorLine = 0;

  bool ok() const { return error.empty(); }
};

// Reads a whole apns-conf.xml document (UTF-8, or the encoding its declaration names).
// A malformed document, or one whose root element is not <apns>, is refused with the line
// and the reason; entries read before an error are dropped.
ApnList readApnList(std::string_view xml);

// True when the type attribute names the service ("default", "mms") or is empty or "*".
bool apnServes(const ApnEntry& entry, std::string_view service);

}  // namespace tarnwick
