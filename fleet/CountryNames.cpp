#include "fleet/CountryNames.h"

#include <algorithm>
#include <cctype>

namespace tarnwick {

namespace {

struct CountryRow {
  std::string_view code;
  std::string_view name;
};

// Sorted by code. Windows-1252 bytes where a name needs a letter beyond ASCII.
constexpr CountryRow kCountries[] = {
    {"AD", "Andorra"}, {"AE", "United Arab Emirates"}, {"AF", "Afghanistan"},
    {"AG", "Antigua and Barbuda"}, {"AI", "Anguilla"}, {"AL", "Albania"}, {"AM", "Armenia"},
    {"AN", "Netherlands Antilles"}, {"AO", "Angola"}, {"AQ", "Antarctica"},
    {"AR", "Argentina"}, {"AS", "American Samoa"}, {"AT", "Austria"}, {"AU", "Australia"},
    {"AW", "Aruba"}, {"AX", "\xC5land Islands"}, {"AZ", "Azerbaijan"},
    {"BA", "Bosnia and Herzegovina"}, {"BB", "Barbados"}, {"BD", "Bangladesh"},
    {"BE", "Belgium"}, {"BF", "Burkina Faso"}, {"BG", "Bulgaria"}, {"BH", "Bahrain"},
    {"BI", "Burundi"}, {"BJ", "Benin"}, {"BL", "Saint Barth\xE9lemy"}, {"BM", "Bermuda"},
    {"BN", "Brunei"}, {"BO", "Bolivia"}, {"BQ", "Caribbean Netherlands"}, {"BR", "Brazil"},
    {"BS", "Bahamas"}, {"BT", "Bhutan"}, {"BV", "Bouvet Island"}, {"BW", "Botswana"},
    {"BY", "Belarus"}, {"BZ", "Belize"}, {"CA", "Canada"}, {"CC", "Cocos (Keeling) Islands"},
    {"CD", "Congo (Democratic Republic)"}, {"CF", "Central African Republic"},
    {"CG", "Congo"}, {"CH", "Switzerland"}, {"CI", "C\xF4te d'Ivoire"},
    {"CK", "Cook Islands"}, {"CL", "Chile"}, {"CM", "Cameroon"}, {"CN", "China"},
    {"CO", "Colombia"}, {"CR", "Costa Rica"}, {"CU", "Cuba"}, {"CV", "Cabo Verde"},
    {"CW", "Cura\xE7""ao"}, {"CX", "Christmas Island"}, {"CY", "Cyprus"}, {"CZ", "Czechia"},
    {"DE", "Germany"}, {"DJ", "Djibouti"}, {"DK", "Denmark"}, {"DM", "Dominica"},
    {"DO", "Dominican Republic"}, {"DZ", "Algeria"}, {"EC", "Ecuador"}, {"EE", "Estonia"},
    {"EG", "Egypt"}, {"EH", "Western Sahara"}, {"ER", "Eritrea"}, {"ES", "Spain"},
    {"ET", "Ethiopia"}, {"FI", "Finland"}, {"FJ", "Fiji"}, {"FK", "Falkland Islands"},
    {"FM", "Micronesia"}, {"FO", "Faroe Islands"}, {"FR", "France"}, {"GA", "Gabon"},
    {"GB", "United Kingdom"}, {"GD", "Grenada"}, {"GE", "Georgia"}, {"GF", "French Guiana"},
    {"GG", "Guernsey"}, {"GH", "Ghana"}, {"GI", "Gibraltar"}, {"GL", "Greenland"},
    {"GM", "Gambia"}, {"GN", "Guinea"}, {"GP", "Guadeloupe"}, {"GQ", "Equatorial Guinea"},
    {"GR", "Greece"}, {"GS", "South Georgia and the South Sandwich Islands"},
    {"GT", "Guatemala"}, {"GU", "Guam"}, {"GW", "Guinea-Bissau"}, {"GY", "Guyana"},
    {"HK", "Hong Kong"}, {"HM", "Heard Island and McDonald Islands"}, {"HN", "Honduras"},
    {"HR", "Croatia"}, {"HT", "Haiti"}, {"HU", "Hungary"}, {"ID", "Indonesia"},
    {"IE", "Ireland"}, {"IL", "Israel"}, {"IM", "Isle of Man"}, {"IN", "India"},
    {"IO", "British Indian Ocean Territory"}, {"IQ", "Iraq"}, {"IR", "Iran"},
    {"IS", "Iceland"}, {"IT", "Italy"}, {"JE", "Jersey"}, {"JM", "Jamaica"},
    {"JO", "Jordan"}, {"JP", "Japan"}, {"KE", "Kenya"}, {"KG", "Kyrgyzstan"},
    {"KH", "Cambodia"}, {"KI", "Kiribati"}, {"KM", "Comoros"},
    {"KN", "Saint Kitts and Nevis"}, {"KP", "North Korea"}, {"KR", "South Korea"},
    {"KW", "Kuwait"}, {"KY", "Cayman Islands"}, {"KZ", "Kazakhstan"}, {"LA", "Laos"},
    {"LB", "Lebanon"}, {"LC", "Saint Lucia"}, {"LI", "Liechtenstein"}, {"LK", "Sri Lanka"},
    {"LR", "Liberia"}, {"LS", "Lesotho"}, {"LT", "Lithuania"}, {"LU", "Luxembourg"},
    {"LV", "Latvia"}, {"LY", "Libya"}, {"MA", "Morocco"}, {"MC", "Monaco"},
    {"MD", "Moldova"}, {"ME", "Montenegro"}, {"MF", "Saint Martin (French part)"},
    {"MG", "Madagascar"}, {"MH", "Marshall Islands"}, {"MK", "North Macedonia"},
    {"ML", "Mali"}, {"MM", "Myanmar"}, {"MN", "Mongolia"}, {"MO", "Macao"},
    {"MP", "Northern Mariana Islands"}, {"MQ", "Martinique"}, {"MR", "Mauritania"},
    {"MS", "Montserrat"}, {"MT", "Malta"}, {"MU", "Mauritius"}, {"MV", "Maldives"},
    {"MW", "Malawi"}, {"MX", "Mexico"}, {"MY", "Malaysia"}, {"MZ", "Mozambique"},
    {"NA", "Namibia"}, {"NC", "New Caledonia"}, {"NE", "Niger"}, {"NF", "Norfolk Island"},
    {"NG", "Nigeria"}, {"NI", "Nicaragua"}, {"NL", "Netherlands"}, {"NO", "Norway"},
    {"NP", "Nepal"}, {"NR", "Nauru"}, {"NU", "Niue"}, {"NZ", "New Zealand"}, {"OM", "Oman"},
    {"PA", "Panama"}, {"PE", "Peru"}, {"PF", "French Polynesia"},
    {"PG", "Papua New Guinea"}, {"PH", "Philippines"}, {"PK", "Pakistan"}, {"PL", "Poland"},
    {"PM", "Saint Pierre and Miquelon"}, {"PN", "Pitcairn"}, {"PR", "Puerto Rico"},
    {"PS", "Palestine"}, {"PT", "Portugal"}, {"PW", "Palau"}, {"PY", "Paraguay"},
    {"QA", "Qatar"}, {"RE", "R\xE9union"}, {"RO", "Romania"}, {"RS", "Serbia"},
    {"RU", "Russia"}, {"RW", "Rwanda"}, {"SA", "Saudi Arabia"}, {"SB", "Solomon Islands"},
    {"SC", "Seychelles"}, {"SD", "Sudan"}, {"SE", "Sweden"}, {"SG", "Singapore"},
    {"SH", "Saint Helena"}, {"SI", "Slovenia"}, {"SJ", "Svalbard and Jan Mayen"},
    {"SK", "Slovakia"}, {"SL", "Sierra Leone"}, {"SM", "San Marino"}, {"SN", "Senegal"},
    {"SO", "Somalia"}, {"SR", "Suriname"}, {"SS", "South Sudan"},
    {"ST", "Sao Tome and Principe"}, {"SV", "El Salvador"},
    {"SX", "Sint Maarten (Dutch part)"}, {"SY", "Syria"}, {"SZ", "Eswatini"},
    {"TC", "Turks and Caicos Islands"}, {"TD", "Chad"},
    {"TF", "French Southern Territories"}, {"TG", "Togo"}, {"TH", "Thailand"},
    {"TJ", "Tajikistan"}, {"TK", "Tokelau"}, {"TL", "Timor-Leste"}, {"TM", "Turkmenistan"},
    {"TN", "Tunisia"}, {"TO", "Tonga"}, {"TR", "T\xFCrkiye"}, {"TT", "Trinidad and Tobago"},
    {"TV", "Tuvalu"}, {"TW", "Taiwan"}, {"TZ", "Tanzania"}, {"UA", "Ukraine"},
    {"UG", "Uganda"}, {"UM", "United States Minor Outlying Islands"},
    {"US", "United States"}, {"UY", "Uruguay"}, {"UZ", "Uzbekistan"},
    {"VA", "Holy See"}, {"VC", "Saint Vincent and the Grenadines"}, {"VE", "Venezuela"},
    {"VG", "Virgin Islands (British)"}, {"VI", "Virgin Islands (U.S.)"},
    {"VN", "Viet Nam"}, {"VU", "Vanuatu"}, {"WF", "Wallis and Futuna"}, {"WS", "Samoa"},
    {"XK", "Kosovo"}, {"YE", "Yemen"}, {"YT", "Mayotte"}, {"ZA", "South Africa"},
    {"ZM", "Zambia"}, {"ZW", "Zimbabwe"},
};

struct MccRow {
  std::string_view mcc;
  std::string_view code;
};

// Sorted by MCC (ITU-T E.212 assignments).
constexpr MccRow kMccs[] = {
    {"202", "GR"}, {"204", "NL"}, {"206", "BE"}, {"208", "FR"}, {"212", "MC"}, {"213", "AD"},
    {"214", "ES"}, {"216", "HU"}, {"218", "BA"}, {"219", "HR"}, {"220", "RS"}, {"221", "XK"},
    {"222", "IT"}, {"225", "VA"}, {"226", "RO"}, {"228", "CH"}, {"230", "CZ"}, {"231", "SK"},
    {"232", "AT"}, {"234", "GB"}, {"235", "GB"}, {"238", "DK"}, {"240", "SE"}, {"242", "NO"},
    {"244", "FI"}, {"246", "LT"}, {"247", "LV"}, {"248", "EE"}, {"250", "RU"}, {"255", "UA"},
    {"257", "BY"}, {"259", "MD"}, {"260", "PL"}, {"262", "DE"}, {"266", "GI"}, {"268", "PT"},
    {"270", "LU"}, {"272", "IE"}, {"274", "IS"}, {"276", "AL"}, {"278", "MT"}, {"280", "CY"},
    {"282", "GE"}, {"283", "AM"}, {"284", "BG"}, {"286", "TR"}, {"288", "FO"}, {"290", "GL"},
    {"292", "SM"}, {"293", "SI"}, {"294", "MK"}, {"295", "LI"}, {"297", "ME"}, {"302", "CA"},
    {"308", "PM"}, {"310", "US"}, {"311", "US"}, {"312", "US"}, {"313", "US"}, {"314", "US"},
    {"315", "US"}, {"316", "US"}, {"330", "PR"}, {"332", "VI"}, {"334", "MX"}, {"338", "JM"},
    {"340", "GP"}, {"342", "BB"}, {"344", "AG"}, {"346", "KY"}, {"348", "VG"}, {"350", "BM"},
    {"352", "GD"}, {"354", "MS"}, {"356", "KN"}, {"358", "LC"}, {"360", "VC"}, {"362", "CW"},
    {"363", "AW"}, {"364", "BS"}, {"365", "AI"}, {"366", "DM"}, {"368", "CU"}, {"370", "DO"},
    {"372", "HT"}, {"374", "TT"}, {"376", "TC"}, {"400", "AZ"}, {"401", "KZ"}, {"402", "BT"},
    {"404", "IN"}, {"405", "IN"}, {"406", "IN"}, {"410", "PK"}, {"412", "AF"}, {"413", "LK"},
    {"414", "MM"}, {"415", "LB"}, {"416", "JO"}, {"417", "SY"}, {"418", "IQ"}, {"419", "KW"},
    {"420", "SA"}, {"421", "YE"}, {"422", "OM"}, {"424", "AE"}, {"425", "IL"}, {"426", "BH"},
    {"427", "QA"}, {"428", "MN"}, {"429", "NP"}, {"430", "AE"}, {"431", "AE"}, {"432", "IR"},
    {"434", "UZ"}, {"436", "TJ"}, {"437", "KG"}, {"438", "TM"}, {"440", "JP"}, {"441", "JP"},
    {"450", "KR"}, {"452", "VN"}, {"454", "HK"}, {"455", "MO"}, {"456", "KH"}, {"457", "LA"},
    {"460", "CN"}, {"461", "CN"}, {"466", "TW"}, {"467", "KP"}, {"470", "BD"}, {"472", "MV"},
    {"502", "MY"}, {"505", "AU"}, {"510", "ID"}, {"514", "TL"}, {"515", "PH"}, {"520", "TH"},
    {"525", "SG"}, {"528", "BN"}, {"530", "NZ"}, {"536", "NR"}, {"537", "PG"}, {"539", "TO"},
    {"540", "SB"}, {"541", "VU"}, {"542", "FJ"}, {"543", "WF"}, {"544", "AS"}, {"545", "KI"},
    {"546", "NC"}, {"547", "PF"}, {"548", "CK"}, {"549", "WS"}, {"550", "FM"}, {"551", "MH"},
    {"552", "PW"}, {"553", "TV"}, {"554", "TK"}, {"555", "NU"}, {"602", "EG"}, {"603", "DZ"},
    {"604", "MA"}, {"605", "TN"}, {"606", "LY"}, {"607", "GM"}, {"608", "SN"}, {"609", "MR"},
    {"610", "ML"}, {"611", "GN"}, {"612", "CI"}, {"613", "BF"}, {"614", "NE"}, {"615", "TG"},
    {"616", "BJ"}, {"617", "MU"}, {"618", "LR"}, {"619", "SL"}, {"620", "GH"}, {"621", "NG"},
    {"622", "TD"}, {"623", "CF"}, {"624", "CM"}, {"625", "CV"}, {"626", "ST"}, {"627", "GQ"},
    {"628", "GA"}, {"629", "CG"}, {"630", "CD"}, {"631", "AO"}, {"632", "GW"}, {"633", "SC"},
    {"634", "SD"}, {"635", "RW"}, {"636", "ET"}, {"637", "SO"}, {"638", "DJ"}, {"639", "KE"},
    {"640", "TZ"}, {"641", "UG"}, {"642", "BI"}, {"643", "MZ"}, {"645", "ZM"}, {"646", "MG"},
    {"647", "RE"}, {"648", "ZW"}, {"649", "NA"}, {"650", "MW"}, {"651", "LS"}, {"652", "BW"},
    {"653", "SZ"}, {"654", "KM"}, {"655", "ZA"}, {"657", "ER"}, {"658", "SH"}, {"659", "SS"},
    {"702", "BZ"}, {"704", "GT"}, {"706", "SV"}, {"708", "HN"}, {"710", "NI"}, {"712", "CR"},
    {"714", "PA"}, {"716", "PE"}, {"722", "AR"}, {"724", "BR"}, {"730", "CL"}, {"732", "CO"},
    {"734", "VE"}, {"736", "BO"}, {"738", "GY"}, {"740", "EC"}, {"742", "GF"}, {"744", "PY"},
    {"746", "SR"}, {"748", "UY"}, {"750", "FK"},
};

template <typename Row>
constexpr bool sortedBy(const Row* rows, std::size_t n, std::string_view Row::*key) {
  for (std::size_t i = 1; i < n; ++i) {
    if (!(rows[i - 1].*key < rows[i].*key)) return false;
  }
  return true;
}
static_assert(sortedBy(kCountries, std::size(kCountries), &CountryRow::code));
static_assert(sortedBy(kMccs, std::size(kMccs), &MccRow::mcc));

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string_view countryName(std::string_view isoCode) {
  const auto* end = std::end(kCountries);
  const auto* it = std::lower_bound(std::begin(kCountries), end, isoCode,
                                    [](const CountryRow& r, std::string_view c) { return r.code < c; });
  return it != end && it->code == isoCode ? it->name : std::string_view{};
}

std::string_view countryCodeForName(std::string_view name) {
  for (const CountryRow& row : kCountries) {
    if (equalIgnoringCase(row.name, name)) return row.code;
  }
  return {};
}

std::string_view countryOfMcc(std::string_view mcc) {
  const auto* end = std::end(kMccs);
  const auto* it = std::lower_bound(std::begin(kMccs), end, mcc,
                                    [](const MccRow& r, std::string_view m) { return r.mcc < m; });
  return it != end && it->mcc == mcc ? it->code : std::string_view{};
}

}  // namespace tarnwick
