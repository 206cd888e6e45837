// Reading apns-conf.xml: the attributes kept, the country comments, what a type serves, and
// documents that are refused rather than half read.

#include <gtest/gtest.h>

#include "fleet/ApnList.h"

namespace tarnwick {
namespace {

TEST(ApnList, ReadsEveryEntryWithItsAttributesAndCountryComment) {
  const ApnList list = readApnList(R"(<?xml version="1.0" encoding="utf-8"?>
<!-- header comment -->
<apns version="8">
  <!-- DE.xml -->
  <apn mcc="262" mnc="01" carrier="Telekom &amp; Co" apn="internet.telekom" user="t"
       password="p" type="default,supl" mmsc="" mmsproxy="" mmsport="" proxy="" unknown="x"/>
  <!-- INTL.xml -->
  <apn mcc="901" mnc="020" carrier="Intl" apn="a" mvno_type="spn" mvno_match_data="X"
       mmsc="http://m" mmsproxy="1.2.3.4" mmsport="80"/>
</apns>
)");
  ASSERT_TRUE(list.ok()) << list.error;
  ASSERT_EQ(list.entries.size(), 2u);
  const ApnEntry& de = list.entries[0];
  EXPECT_EQ(de.mcc, "262");
  EXPECT_EQ(de.mnc, "01");
  EXPECT_EQ(de.carrier, "Telekom & Co");
  EXPECT_EQ(de.apn, "internet.telekom");
  EXPECT_EQ(de.user, "t");
  EXPECT_EQ(de.password, "p");
  EXPECT_EQ(de.countryCode, "DE");
  EXPECT_EQ(de.line, 5u);
  const ApnEntry& intl = list.entries[1];
  EXPECT_EQ(intl.mnc, "020");  // leading zeros are part of the code
  EXPECT_EQ(intl.countryCode, "");
  EXPECT_EQ(intl.mvnoType, "spn");
  EXPECT_EQ(intl.mvnoMatchData, "X");
  EXPECT_EQ(intl.mmsProxy, "1.2.3.4");
  EXPECT_EQ(intl.mmsPort, "80");
}

TEST(ApnList, WhatATypeServes) {
  ApnEntry e;
  EXPECT_TRUE(apnServes(e, "default"));  // no type: everything
  e.type = "*";
  EXPECT_TRUE(apnServes(e, "mms"));
  e.type = "default, supl,mms";
  EXPECT_TRUE(apnServes(e, "default"));
  EXPECT_TRUE(apnServes(e, "mms"));
  e.type = "supl,ims";
  EXPECT_FALSE(apnServes(e, "default"));
  e.type = "defaults";  // whole words only
  EXPECT_FALSE(apnServes(e, "default"));
}

TEST(ApnList, MalformedOrForeignDocumentsAreRefusedWithTheLine) {
  struct Case {
    std::string xml;
    const char* error;
    std::size_t line;
  };
  for (const Case& c : {Case{"", "no element found", 1},
                        Case{"<apns>\n<apn mcc=\"1\">\n</apns>", "mismatched tag", 3},
                        Case{"<carriers><apn mcc=\"1\"/></carriers>", "not <apns>", 1},
                        Case{"<apns>\n<apn mcc='1' mcc='2'/></apns>", "duplicate attribute", 2},
                        Case{"<apns>\n\n<apn carrier=\"&bogus;\"/></apns>", "undefined entity", 3},
                        Case{"<apns></apns><apns/>", "junk after document element", 1}}) {
    SCOPED_TRACE(c.xml);
    const ApnList list = readApnList(c.xml);
    EXPECT_FALSE(list.ok());
    EXPECT_NE(list.error.find(c.error), std::string::npos) << list.error;
    EXPECT_EQ(list.errorLine, c.line);
    EXPECT_TRUE(list.entries.empty());
  }
}

TEST(ApnList, EntityExpansionIsStoppedAndExternalEntitiesAreNeverRead) {
  // A "billion laughs" document: expat's amplification limit refuses it quickly.
  std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE apns [\n<!ENTITY a0 \"ha\">\n";
  for (int i = 1; i < 12; ++i) {
    bomb += "<!ENTITY a" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) bomb += "&a" + std::to_string(i - 1) + ";";
    bomb += "\">\n";
  }
  bomb += "]>\n<apns><apn carrier=\"&a11;\"/></apns>\n";
  const ApnList expanded = readApnList(bomb);
  EXPECT_FALSE(expanded.ok());

  const ApnList external = readApnList(
      "<!DOCTYPE apns [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n"
      "<apns><apn carrier=\"a\"/>&x;</apns>");
  // Either refused or read without the entity; never with the file's text.
  for (const ApnEntry& e : external.entries) EXPECT_EQ(e.carrier, "a");
}

}  // namespace
}  // namespace tarnwick
