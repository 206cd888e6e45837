#!/usr/bin/env python3
"""Generates network/BuiltinOperatorData.cpp, the built-in operator table.

Usage:
    python3 tools/generate_builtin_operators.py APNS_CONF_XML [OUTPUT_CPP] [--report]
        [--missing OUTPUT_MD]

--missing writes the list of operators without MMS settings, each with its reason
(docs/operators-without-mms.md).

The country and operator names below are the camera's own list: their order is the order of
the Country and Operator lists, and the stored settings keep positions in it, so neither names
nor order may change. Only the access-point values (fields 1 to 9 of each row) come from the
XML: LineageOS' public APN list (Apache-2.0, attribution in NOTICE and THIRD_PARTY.md).

The XML names carriers differently from the camera's list, so every operator that receives
values names its network (MCC-MNC) and the exact XML carrier names to take them from:
  - data:  apn, user, password of the first matching entry whose type includes "default"
           (or "*");
  - mms:   apn, user, password, mmsc, mmsproxy and mmsport of the first matching entry whose
           type includes "mms" (or "*") and which has a non-empty mmsc.
"First" is document order, counting only entries whose values the camera can take: they
must fit the settings record's fields (32 characters for access point, user and password, 50
for the MMS centre, 15 for the proxy, 5 digits for the port), so that choosing an operator
never puts a value on the form that the record cannot hold, and an MMS centre with a scheme
must continue with "//". Entries restricted to an MVNO (mvno_type) are ignored unless the
rule says mvno=True (brands such as TELUS or Koodo exist in the XML only that way). An
operator the data set gives nothing for (nothing(...)) keeps empty fields: a wrong access
point is worse than none. Where an operator was renamed or sold, or is a prepaid brand of
the same operator, the rule names the network and entries it now uses. Every rule must find what it names, otherwise the generator stops,
so a changed XML cannot silently empty a row.

Only the standard library is used (xml.etree). Re-run after updating the XML; the output is
deterministic.
"""

import re
import sys
import xml.etree.ElementTree as ET

NAME_WIDTH = 64  # every text field is 64 bytes except the port
PORT_WIDTH = 6   # each field keeps at least one zero byte: 63 / 5 characters at most

# Widths of the settings-record fields the values end up in.
RECORD_WIDTH = {"apn": 32, "user": 32, "password": 32, "mmsc": 50, "mmsproxy": 15,
                "mmsport": 5}


def rule(net, data=None, mms=None, mvno=False, why=None):
    nets = [net] if isinstance(net, str) else list(net)
    return {"nets": [tuple(n.split("-")) for n in nets], "data": data, "mms": mms,
            "mvno": mvno, "why": why}


def nothing(why):
    """An operator the data set gives no values for, with the reason."""
    return {"nets": [], "data": None, "mms": None, "mvno": False, "why": why}


def proxy(host):
    return (f"its MMS entries name the proxy {host}, {len(host)} characters, longer than "
            f"the record's {RECORD_WIDTH['mmsproxy']}-byte mmsProxy")


# Reasons shared by several operators without MMS values.
ABSENT = "no entry in the data set"
JAPAN = "the data set's entries for 440-10 carry no MMS centre (carrier mail, not MMS)"
MYANMAR = "the data set has no MMS entry for Myanmar's networks"

# Country name, then (operator name, rule) in list order. Names are bytes in the ANSI
# code page (Windows-1252); b"Bit\xc4\x97" is stored exactly like that. A rule that finds
# no MMS entry gives its reason (why=...), which the --missing list shows; a rule that
# finds one must not, so the list never goes stale.
TABLE = [
    ("America", [
        # Cingular was renamed AT&T; its entry on 310-170 is the one AT&T MMS entry whose proxy
        # is an address (the newer ones name proxy.mobile.att.net, 20 characters).
        ("AT&T", rule(["310-410", "310-170"], data="ATT Phone", mms="Cingular MMS")),
        ("T-MOBILE", rule("310-260", data="T-Mobile US", mms="T-Mobile US")),
        ("VERIZON", rule("311-480", data="Verizon", mms="Verizon")),
        ("SIMHERO", nothing(ABSENT)),
    ]),
    ("Australia", [
        ("Optus", rule("505-02", data="Optus", mms="Optus MMS")),
        ("Telstra", rule("505-01", data="Telstra Internet", mms="Telstra MMS")),
        ("Three", rule("505-06", data="3 AU", mms="3 AU")),
        ("Vodafone", rule("505-03", data="Vodafone Live!", mms="Vodafone PXT")),
        ("Vimel", nothing(ABSENT)),
    ]),
    ("Austria", [
        ("A1(MobilKom", rule("232-01", data="A1 Internet", mms="A1 MMS")),
        ("Drei", rule("232-10", data="3 AT", mms="3 AT")),
        ("HoT", rule("232-07", data="HoT Internet", mms="HoT MMS")),
        ("One", rule("232-05", data="3 AT", mms="3 AT")),  # One's network 232-05 is now Drei's
        ("TeleRing", nothing("merged into T-Mobile Austria; the data set has no tele.ring entry, "
                              "and T-Mobile's own entries are not known to serve its SIMs")),
        ("T-Mobile", rule("232-03", data="T-Mobile A Internet", mms="T-Mobile A MMS")),
        ("BOB", rule("232-11", data="Bob", mms="Bob MMS")),
        ("Yess", rule("232-12", data="Yesss", why="Yesss (232-12) has a data entry only")),
    ]),
    ("Belgium", [
        ("Base", rule("206-20", data="BASE Belgium", mms="BASE MMS Belgium")),
        ("Mobistar", rule("206-10", data="Mobistar", mms="Mobistar MMS")),
        ("Proximus", rule("206-01", data="Proximus Internet", mms="Proximus MMS")),
        ("Tempo", rule("206-10", data="Mobistar", mms="Mobistar MMS")),  # Mobistar's prepaid
    ]),
    ("Brazil", [
        ("TIM", rule("724-02", data="TIM Connect", mms="TIM Connect")),
    ]),
    ("Bulgaria", [
        ("Globul", rule("284-05", data="GLOBUL Internet", mms="GLOBUL MMS")),
        ("Mtel", rule("284-01", data="M-Tel Internet", mms="M-Tel MMS")),
        ("Vivacom", rule("284-03", data="VIVACOM Internet", mms="VIVACOM MMS")),
        ("Telenor", rule("284-05", data="Telenor Internet", mms="Telenor MMS")),
        ("A1", rule("284-01", data="M-Tel Internet", mms="M-Tel MMS")),  # Mtel renamed A1
    ]),
    ("Canada", [
        ("Bell", rule("302-610", data="Bell Mobility", mms="Bell Mobility")),
        ("Fido", rule("302-370", data="Fido Internet", why=proxy("mmsproxy.fido.ca"))),
        ("Rogers", rule("302-720", data="Rogers Internet", why=proxy("mmsproxy.rogers.com"))),
        ("Telus", rule("302-220", data="TELUS", mvno=True, why=proxy("mmscproxy.mobility.ca"))),
        ("Koodo", rule("302-220", data="Koodo", mvno=True, why=proxy("mmscproxy.mobility.ca"))),
        ("LoT Bell", nothing("an IoT service; the data set's Bell IoT entries (302-690) carry "
                              "no MMS settings")),
    ]),
    ("China", [
        ("ChinaMobile", rule("460-00", data="中国移动 (China Mobile) NET",
                             mms="中国移动 (China Mobile) WAP&MMS")),
        ("ChinaUnicom", rule("460-01", data="沃宽带用户连接互联网", mms="联通彩信")),
        ("ChinaTelecom", rule("460-03", data="中国电信 (China Telecom) GPRS",
                              mms="中国电信彩信 (China Telecom)")),
        ("CMHK", rule("454-12", data="CMHK", mms="CMHK")),
        ("HongkongCSL", rule("454-00", data="csl", mms="csl")),
        ("Taiwan TWM", rule("466-97", data="Taiwan Mobile Internet", mms="Taiwan Mobile MMS")),
        ("Taiwan Fetnet", rule("466-01", data="FarEasTone", mms="FarEasTone MMS")),
    ]),
    ("Chile", [
        ("Telefonica", rule("730-02", data="Movistar CL", mms="Movistar MMS")),
        ("Entel", rule("730-01", data="Entel PCS", mms="Entel MMS")),
    ]),
    ("Croatia", [
        ("T-MOBILE", rule("219-01", data="T-Mobile HR", mms="T-Mobile HR MMS")),
        ("TELE2", rule("219-02", data="Tele2 HR", mms="Tele2 HR")),
        ("VIP", rule("219-10", data="VIPnet", mms="VIPnet MMS")),
    ]),
    ("Cyprus", [
        ("Cyta", rule("280-01", data="CYTA", mms="CYTA")),
        ("MTN", rule("280-10", data="MTN Internet", mms="MTN MMS")),
    ]),
    ("Czech", [
        ("Eurotel", rule("230-02", data="O2 CZ", mms="O2 CZ MMS")),  # Eurotel renamed O2
        ("O2", rule("230-02", data="O2 CZ", mms="O2 CZ MMS")),
        ("Oskar", rule("230-03", data="Vodafone CZ", mms="Vodafone CZ MMS")),  # now Vodafone
        ("T-Mobile", rule("230-01", data="T-Mobile CZ", mms="T-Mobile MMS")),
        ("Vodafone", rule("230-03", data="Vodafone CZ", mms="Vodafone CZ MMS")),
        ("Gomobile", nothing(ABSENT)),
    ]),
    ("Denmark", [
        ("Sonofon", rule("238-02", data="Telenor Internet", mms="Telenor MMS")),  # now Telenor
        ("TDC/TELMORE", rule("238-01", data="TDC", mms="Telmore MMS")),
        ("Telia", rule("238-30", data="Telia SuifPort", mms="Telia MMS")),
        ("Tre", rule("238-06", data="3", mms="3MMS")),
        ("Telenor/CBBMobil", rule("238-02", data="Telenor Internet", mms="Telenor MMS")),
    ]),
    ("Dubai", [
        ("Etisalat", rule("424-02", data="Etisalat internet", mms="Etisalat MMS")),
    ]),
    ("Estonia", [
        ("Elisa", rule("248-02", data="Elisa EE", mms="Elisa EE MMS")),
        ("EMT", rule("248-01", data="EMT", mms="EMT MMS")),
        ("Tele2", rule("248-03", data="Tele2 EE", mms="Tele2 MMS")),
    ]),
    ("Europe", [
        ("SuperSIM", nothing(ABSENT)),
    ]),
    ("Finland", [
        ("Alands", rule("244-14", data="GSMAland internet", mms="GSMAland mms")),
        ("DNA", rule("244-12", data="DNA Internet", mms="DNA MMS")),
        ("Elisa", rule("244-05", data="Elisa Internet", mms="Elisa MMS")),
        ("GoMobile", rule("244-12", data="Go Mobile Internet", mms="Go Mobile MMS")),
        ("PGFree", nothing(ABSENT)),
        ("Saunalahti", rule("244-21", data="Saunalahti Internet", mms="Saunalahti MMS")),
        ("Saunalahti Prepaid", rule("244-21", data="Saunalahti Internet", mms="Saunalahti MMS")),
        ("Sonera(Telia)", rule("244-91", data="Sonera Internet", mms="Sonera MMS")),
        ("MOI", nothing(ABSENT)),
    ]),
    ("France", [
        ("Bouygues", rule("208-21", data="BouyguesGPRS ISP", mms="MMS Bouygues")),
        ("Orange", rule("208-01", data="Orange Internet", mms="Orange MMS")),
        ("SFR", rule("208-10", data="SFR", mms="SFR MMS")),
        ("Free", rule("208-15", data="Free Mobile", mms="Free Mobile MMS")),
    ]),
    ("Germany", [
        ("E-Plus", rule("262-03", data="O2 DE Internet", mms="O2 DE Internet")),  # E-Plus' 262-03 is O2's
        ("O2", rule("262-03", data="O2 DE Internet", mms="O2 DE Internet")),
        ("T-Mobile", rule("262-01", data="Telekom Internet", mms="Telekom Internet")),
        ("Vodafone", rule("262-02", data="Vodafone DE", mms="Vodafone DE-MMS")),
        ("Congstar", rule("262-01", data="Congstar Internet",
                          why="the data set has a data entry only for Congstar")),
    ]),
    ("Georgia", [
        ("Geocell", rule("282-01", data="Geocell", mms="Geocell Mms")),
        ("MagtiCom", nothing(ABSENT)),
    ]),
    ("Hungary", [
        ("Telenor", rule("216-01", data="Telenor Net", mms="Telenor MMS")),
        ("T-Mobile", rule("216-30", data="T-Mobile NET GPRS", mms="T-Mobile MMS")),
        ("Vodafone", rule("216-70", data="Vodafone HU", mms="Vodafone HU MMS")),
    ]),
    ("Iceland", [
        ("Siminn", rule("274-01", data="Siminn Internet", mms="Siminn MMS")),
    ]),
    ("Ireland", [
        ("Meteor", rule("272-03", data="Meteor Internet", mms="Meteor MMS")),
        ("O2", rule("272-02", data="O2 Internet", mms="O2 MMS")),
        ("Three", rule("272-05", data="3 Internet", mms="3 MMS")),
        ("Vodafone", rule("272-01", data="Vodafone IE", mms="Vodafone IE-MMS")),
    ]),
    ("Israel", [
        ("HOT Mobile", rule("425-07", data="Hot Mobile", mms="Hot Mobile MMS")),
        ("Orange", rule("425-01", data="Orange IL", mms="Orange IL MMS")),
    ]),
    ("Italy", [
        ("Postemobile", rule("222-33", data="PosteMobile WAP", mms="PosteMobile MMS")),
        ("TIM", rule("222-01", data="TIM IT", mms="TIM MMS")),
        ("Tre", rule("222-99", data="3", mms="3")),
        ("UnoMobile", rule("222-10", data="UNO Mobile", mms="UNO Mobile MMS GPRS")),
        ("Wind", rule("222-88", data="Wind IT WEB", mms="Wind IT MMS")),
        ("Vodafone", rule("222-10", data="Vodafone IT", mms="Vodafone IT MMS")),
    ]),
    ("Japen", [
        ("NTT Docomo", rule("440-10", data="ドコモ(spモード)", why=JAPAN)),
        ("DHA(IIJ)", rule("440-10", data="IIJmio(タイプD)", why=JAPAN)),
    ]),
    ("Kenya", [
        ("Safaricom", rule("639-02", data="Safaricom", mms="Safaricom MMS")),
    ]),
    ("Korea", [
        ("SKT", rule("450-05", data="SKT LTE INTERNET", mms="SKT LTE INTERNET")),
    ]),
    ("Lebanon", [
        (" Touch", rule("415-03", data="mtc touch", mms="mtc touch MMS")),
    ]),
    ("Lithuania", [
        ("Tele2", rule("246-03", data="Tele2 Internet LT", mms="Tele2 MMS LT")),
        ("Omnitel/Telia", rule("246-01", data="Omnitel Internet", mms="Omnitel MMS")),
        (b"Bit\xc4\x97", rule("246-02", data="Bite LT Internet", mms="Bite MMS")),
    ]),
    ("Latvia", [
        ("LMT", rule("247-01", data="LMT", mms="LMT MMS")),
        ("TELE2", rule("247-02", data="Tele2 Internet LV", mms="Tele2 MMS LV")),
        ("Bite", rule("247-05", data="Bite LV Internet", mms="Bite MMS")),
    ]),
    ("Macedonia", [
        ("TELEKOM", rule("294-01", data="T-Mobile MK", mms="T-Mobile MK MMS")),
    ]),
    ("Malaysia", [
        ("Celcom", rule("502-19", data="celcom", mms="celcom MMS")),
    ]),
    ("Mexico", [
        ("Telcel", rule("334-020", data="Telcel Internet", mms="Telcel MMS")),
    ]),
    ("Myanmar", [
        ("Tel", nothing(MYANMAR)),
        ("Ooredoo", nothing(MYANMAR)),
    ]),
    ("Netherlands", [
        ("KPN", rule("204-08", data="KPN Mobiel Internet", mms="KPN Mobiel Internet")),
        ("Telfort", rule("204-12", data="Telfort Internet", mms="Telfort Internet")),
        # T-Mobile NL was renamed Odido.
        ("T-Mobile", rule("204-16", data="Odido Internet",
                          why="Odido (204-16) has a data entry only; the network's one MMS "
                              "entry is the Ben brand's")),
        ("Vodafone", rule("204-04", data="Vodafone Live",
                          why="the one Vodafone MMS entry on 204-04 is for business "
                              "contracts (office.vodafone.nl)")),
        ("Promix", nothing(ABSENT)),
    ]),
    ("New Zealand", [
        ("Vodafone", rule("530-01", data="Vodafone NZ", mms="Vodafone NZ MMS")),
        ("Spark", rule("530-05", data="TelecomDefault", mms="TelecomMMS")),  # was Telecom NZ
        ("2 Degree", rule("530-24", data="2degrees Internet", mms="2degrees MMS")),
    ]),
    ("Norway", [
        ("Ice", nothing(ABSENT)),
        ("MOI", nothing(ABSENT)),
        ("Netcom", rule("242-02", data="NetCom", mms="NetCom")),
        ("OneCall", nothing(ABSENT)),
        ("TELENOR/Talkmore", rule("242-01", data="Telenor", why=proxy("mms-proxy.telenor.no"))),
        ("TDC/TELMORE", rule("242-08", data="TDC Internet", why=proxy("inetproxy.tdc.dk"))),
        ("TELIA/Chess", rule("242-02", data="NetCom", mms="NetCom")),  # NetCom renamed Telia
    ]),
    ("Nigeria", [
        # Zain Nigeria was renamed Airtel.
        ("Airtel", rule("621-20", data="Zain NG", why="Zain NG (621-20) has a data entry only")),
    ]),
    ("Poland", [
        ("ERA", rule("260-02", data="Era Internet", mms="Era MMS")),
        ("Heyah", rule("260-02", data="Heyah INTERNET", mms="Heyah MMS")),
        ("Idea", rule("260-03", data="Internet Orange", mms="MMS Orange")),  # renamed Orange
        ("Orange", rule("260-03", data="Internet Orange", mms="MMS Orange")),
        ("Play", rule("260-06", data="Play INTERNET", mms="Play MMS")),
        ("Plus", rule("260-01", data="Plus INTERNET", mms="Plus MMS")),
        ("SamiSwoi", nothing(ABSENT)),
        ("T-mobile", rule("260-02", data="T-Mobile.pl INTERNET", mms="T-Mobile.pl MMS")),
    ]),
    ("Portugal", [
        ("Optimus", rule("268-03", data="NOS/WTF Internet", mms="NOS MMS")),  # now NOS
        ("TMN", rule("268-06", data="MEO Internet", mms="MEO MMS")),  # TMN renamed MEO
        ("Vodafone", rule("268-01", data="Vodafone PT Internet", mms="Vodafone PT WAP MMS")),
    ]),
    ("Romania", [
        ("Connex-Vodafone", rule("226-01", data="Vodafone RO", mms="Vodafone RO MMS")),
        ("Orange", rule("226-10", data="Orange Internet", mms="Orange MMS")),
        ("Telekom", nothing("only a broadband modem entry (226-03) is listed")),
    ]),
    ("Russia", [
        ("MTS/AMobile", rule("250-01", data="MTS RU", mms="MTS RU MMS")),
        ("Beeline", rule("250-99", data="BeeLine RU", mms="BeeLine RU MMS")),
        ("Megafon", rule("250-02", data="Megafon Internet", mms="Megafon MMS")),
        ("Motiv", nothing(ABSENT)),
        ("Tele2", rule("250-20", data="Tele2 RU", mms="Tele2 RU MMS")),
        ("Yota", rule("250-11", data="Yota", mms="Yota MMS")),
        ("Rostelecom", nothing("its mobile service moved to Tele2's network; the data set has "
                                "no Rostelecom entry")),
        ("Letai", nothing(ABSENT)),
    ]),
    # The camera's list spells Serbia "Siberia"; Telenor ran the Serbian network 220-01.
    ("Siberia", [
        ("Telenor", rule("220-01", data="Telenor RS", mms="Telenor RS MMS")),
    ]),
    ("Slovakia", [
        ("T-Mobile", rule("231-02", data="T-Mobile Internet", mms="T-Mobile MMS")),
        ("O2", rule("231-06", data="O2 SK", mms="O2 SK MMS")),
        ("Orange", rule("231-01", data="Orange Internet", mms="Orange MMS")),
    ]),
    ("Slovenia", [
        ("BOB", nothing(ABSENT)),
        ("Telekom", rule("293-41", data="Mobitel Internet", mms="Mobitel MMS")),  # Mobitel
        ("Izimobil", rule("293-40", data="Si.mobil Internet", mms="Si.mobil MMS")),  # Si.mobil's prepaid
        ("Mobitel", rule("293-41", data="Mobitel Internet", mms="Mobitel MMS")),
        ("SiMobil", rule("293-40", data="Si.mobil Internet", mms="Si.mobil MMS")),
        ("T-2", rule("293-64", data="T-2 Internet", mms="T-2 Mms")),
        ("Telemach", rule("293-70", data="Tusmobil Internet", mms="Tusmobil MMS")),  # was Tusmobil
        ("Tusmobil", rule("293-70", data="Tusmobil Internet", mms="Tusmobil MMS")),
    ]),
    ("South_Africa", [
        ("MTN", rule("655-10", data="MTN SA Web",
                     why="the data set's MTN MMS entry (655-10) has no MMS centre")),
        ("Vodacom", rule("655-01", data="Vodacom ZA", mms="Vodacom ZA MMS")),
        ("Vodacom prepaid", rule("655-01", data="Vodacom ZA", mms="Vodacom ZA MMS")),
    ]),
    ("South Korea", [
        ("SKT", rule("450-05", data="SKT LTE INTERNET", mms="SKT LTE INTERNET")),
    ]),
    ("Spain", [
        ("MOVISTAR", rule("214-07", data="Movistar", mms="Movistar")),
        ("ORANGE", rule("214-03", data="Orange Internet Móvil", mms="Orange MMS")),
        ("VODAFONE", rule("214-01", data="Vodafone ES", mms="Vodafone ES MMS")),
        ("YOIGO", rule("214-04", data="Yoigo Internet", mms="Yoigo MMS")),
        ("Digimobile", rule("214-22", data="Digimobil Internet", mvno=True,
                            why="Digimobil (214-22) has a data entry only")),
        ("Jazz", rule("214-21", data="Jazztel", mms="Jazztel MMS", mvno=True)),
    ]),
    ("Sweden", [
        ("Tele2", rule("240-07", data="Tele2 Internet", mms="Tele2 MMS")),
        ("Telenor", rule("240-08", data="Telenor SE", mms="Telenor MMS")),
        ("Telia", rule("240-01", data="Telia Internet", mms="Telia MMS")),
        ("Tre", rule("240-02", data="3 SE", mms="3 SE MMS")),
        ("Vodafone", rule("240-08", data="Telenor SE", mms="Telenor MMS")),  # renamed Telenor
    ]),
    ("Switzerland", [
        ("Orange", rule("228-03", data="Salt Internet", mms="Salt MMS")),  # renamed Salt
        ("Sunrise", rule("228-02", data="Sunrise Internet", mms="Sunrise MMS")),
        ("Sunrise prepaid", rule("228-02", data="Sunrise Internet", mms="Sunrise MMS")),
        ("Swisscom", rule("228-01", data="Swisscom", mms="Swisscom-MMS")),
        ("Coop Mobile", nothing(ABSENT)),
    ]),
    ("Thailand", [
        ("AIS", rule("520-03", data="AIS Internet", mms="AIS MMS")),
    ]),
    ("Turkey", [
        ("Turkcell", rule("286-01", data="Turkcell Internet", mms="Turkcell MMS")),
    ]),
    ("Ukraine", [
        ("KYIVSTAR", rule("255-03", data="UA-KYIVSTAR Internet", mms="UA-KYIVSTAR MMS")),
        ("MTC-Vodafone", rule("255-01", data="Vodafone UA", mms="Vodafone UA MMS")),
        ("LifeCell", rule("255-06", data="lifecell", mms="lifecell MMS")),
    ]),
    ("United Kingdom", [
        ("BT", rule("234-30", data="BT Internet", mms="BT MMS", mvno=True)),
        ("O2", rule("234-10", data="O2 UK", mms="O2 UK")),
        ("Orange", rule("234-33", data="Orange internet", mms="Orange MMS")),
        ("Tesco", rule("234-10", data="Tesco Mobile", mms="Tesco Mobile", mvno=True)),
        ("Three", rule("234-20", data="3 Internet", mms="3 MMS")),
        ("T-Mobile", rule("234-30", data="EE Internet", mms="EE MMS")),  # T-Mobile UK is EE
        ("Virgin", rule("234-30", data="virgin Mobile", mms="virgin Mobile", mvno=True)),
        ("Vodafone", rule("234-15", data="Vodafone UK Contract Internet",
                          mms="Vodafone UK Contract Internet")),
    ]),
]

FIELD_NAMES = ["name", "mmsApn", "mmsAccount", "mmsPassword", "dataApn", "dataAccount",
               "dataPassword", "mmscUrl", "mmsProxy", "mmsPort"]


def types_of(entry):
    return [t.strip() for t in (entry.get("type") or "").split(",") if t.strip()]


def usable(entry, want_mms):
    keys = ["apn", "user", "password"] + (["mmsc", "mmsproxy", "mmsport"] if want_mms else [])
    for key in keys:
        if len(entry.get(key) or "") > RECORD_WIDTH[key]:
            return False
    if want_mms:
        port = entry.get("mmsport") or ""
        if port and not port.isdigit():
            return False
        mmsc = entry.get("mmsc") or ""
        if re.match(r"^[A-Za-z]+:", mmsc) and not re.match(r"^[A-Za-z]+://", mmsc):
            return False
    return True


def find(entries, r, carrier, want_mms):
    for e in entries:
        if (e.get("mcc"), e.get("mnc")) not in r["nets"]:
            continue
        if e.get("carrier") != carrier:
            continue
        if e.get("mvno_type") and not r["mvno"]:
            continue
        if not usable(e, want_mms):
            continue
        types = types_of(e)
        if want_mms:
            if ("mms" in types or "*" in types) and (e.get("mmsc") or ""):
                return e
        elif "default" in types or "*" in types:
            return e
    return None


def encode(text, width, where):
    raw = text if isinstance(text, bytes) else text.encode("cp1252")
    if len(raw) > width - 1:
        raise SystemExit(f"{where}: {raw!r} is longer than {width - 1} bytes")
    return raw


def operator_fields(entries, country, name, r):
    values = [""] * 10
    values[0] = name
    got_data = got_mms = False
    if r["data"]:
        e = find(entries, r, r["data"], want_mms=False)
        if e is None:
            raise SystemExit(f"{country}/{name}: no data entry '{r['data']}' in {r['nets']}")
        values[4:7] = [e.get("apn") or "", e.get("user") or "", e.get("password") or ""]
        got_data = True
    if r["mms"]:
        e = find(entries, r, r["mms"], want_mms=True)
        if e is None:
            raise SystemExit(f"{country}/{name}: no MMS entry '{r['mms']}' in {r['nets']}")
        values[1:4] = [e.get("apn") or "", e.get("user") or "", e.get("password") or ""]
        values[7:10] = [e.get("mmsc") or "", e.get("mmsproxy") or "", e.get("mmsport") or ""]
        got_mms = True
    if got_mms == bool(r["why"]):
        raise SystemExit(f"{country}/{name}: " + ("has MMS values and a reason for having none"
                                                  if got_mms else "no MMS values and no reason"))
    return values, got_data, got_mms


def c_literal(raw):
    # Octal escapes for anything outside printable ASCII: they never swallow a following
    # character the way \x escapes can.
    out = []
    for b in raw:
        if b in (0x22, 0x5C):
            out.append("\\" + chr(b))
        elif 0x20 <= b < 0x7F and b != 0x3F:  # '?' escaped to rule out trigraphs
            out.append(chr(b))
        else:
            out.append(f"\\{b:03o}")
    return '"' + "".join(out) + '"'


def write_missing(path, counts, without_mms):
    lines = [
        "# Built-in operators without MMS settings",
        "",
        "Generated by `python3 tools/generate_builtin_operators.py data/apns-conf.xml "
        "network/BuiltinOperatorData.cpp --missing docs/operators-without-mms.md`",
        "(the APN data set; see THIRD_PARTY.md). Do not edit: change the generator.",
        "",
        f"Of the built-in table's {counts['operators']} operators, {counts['mms']} carry MMS "
        f"settings (MMS access point, centre, proxy and port) and {len(without_mms)} do not. "
        "Choosing one of these in Auto mode leaves the MMS boxes empty; the user can type the "
        "operator's values in Manual mode or supply them through oper.db. Why each has none:",
        "",
        "| Country | Operator | Data settings | Why no MMS settings |",
        "|---|---|---|---|",
    ]
    for country, name, got_data, why in without_mms:
        lines.append(f"| {country} | {name} | {'yes' if got_data else 'no'} | {why} |")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def main(argv):
    missing_path = None
    if "--missing" in argv:
        at = argv.index("--missing")
        if at + 1 >= len(argv):
            raise SystemExit(__doc__)
        missing_path = argv[at + 1]
        argv = argv[:at] + argv[at + 2:]
    args = [a for a in argv[1:] if not a.startswith("--")]
    report = "--report" in argv
    if not args:
        raise SystemExit(__doc__)
    xml_path = args[0]
    out_path = args[1] if len(args) > 1 else "network/BuiltinOperatorData.cpp"
    entries = list(ET.parse(xml_path).getroot().iter("apn"))

    counts = {"operators": 0, "data": 0, "mms": 0, "empty": 0}
    countries = []
    without_mms = []
    for country, ops in TABLE:
        rows = []
        for name, r in ops:
            values, got_data, got_mms = operator_fields(entries, country, name, r)
            raw = [encode(v, PORT_WIDTH if i == 9 else NAME_WIDTH, f"{country}/{name} "
                          f"{FIELD_NAMES[i]}") for i, v in enumerate(values)]
            rows.append(raw)
            counts["operators"] += 1
            counts["data"] += got_data
            counts["mms"] += got_mms
            counts["empty"] += not (got_data or got_mms)
            if not got_mms:
                without_mms.append((country, raw[0].decode("cp1252"), got_data, r["why"]))
            if report:
                shown = " | ".join(v.decode("cp1252") for v in raw[1:])
                print(f"{country:15} {raw[0].decode('cp1252'):18} {shown}")
        countries.append((encode(country, NAME_WIDTH, country), rows))

    lines = [
        "// Generated by tools/generate_builtin_operators.py from LineageOS' apns-conf.xml",
        "// (Apache-2.0; see NOTICE and THIRD_PARTY.md). Do not edit: change the generator and",
        "// run it again.",
        "//",
        f"// {counts['operators']} operators: {counts['data']} with data access-point values, "
        f"{counts['mms']} with MMS values,",
        f"// {counts['empty']} with neither.",
        "",
        '#include "network/BuiltinOperatorData.h"',
        "",
        "namespace tarnwick {",
        "namespace {",
        "",
        "// Fields in row order: name, mmsApn, mmsAccount, mmsPassword, dataApn, dataAccount,",
        "// dataPassword, mmscUrl, mmsProxy, mmsPort.",
    ]
    for index, (cname, rows) in enumerate(countries):
        lines.append(f"constexpr BuiltinOperatorText kCountry{index}[] = {{  "
                     f"// {cname.decode('cp1252')}")
        for raw in rows:
            lits = [c_literal(v) for v in raw]
            first = "    {{" + ", ".join(lits[:4]) + ","
            second = "      " + ", ".join(lits[4:7]) + ","
            third = "      " + ", ".join(lits[7:]) + "}},"
            lines.extend([first, second, third])
        lines.append("};")
    lines.append("")
    lines.append(f"constexpr BuiltinCountryText kCountries[] = {{")
    for index, (cname, _rows) in enumerate(countries):
        lines.append(f"    {{{c_literal(cname)}, kCountry{index}}},")
    lines.append("};")
    lines.append("")
    lines.append("}  // namespace")
    lines.append("")
    lines.append("std::span<const BuiltinCountryText> builtinOperatorTexts() { return kCountries; }")
    lines.append("")
    lines.append("}  // namespace tarnwick")
    with open(out_path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    if missing_path:
        write_missing(missing_path, counts, without_mms)
    print(f"{out_path}: {len(countries)} countries, {counts['operators']} operators; "
          f"data {counts['data']}, MMS {counts['mms']}, nothing {counts['empty']}",
          file=sys.stderr)


if __name__ == "__main__":
    main(sys.argv)
