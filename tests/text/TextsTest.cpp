// The program's texts: the string table through Localisation, and placeholder filling.
#include <gtest/gtest.h>

#include <set>

#include "fakes/RecordingReporters.h"
#include "platform/NotifyShell.h"
#include "text/Languages.h"
#include "text/Localisation.h"
#include "text/Sprintf.h"
#include "tray/TrayText.h"

namespace updater {
namespace {

// True for well-formed UTF-8: no stray or missing continuation bytes, overlong forms or surrogates.
bool WellFormedUtf8(std::string_view s) {
  for (std::size_t i = 0, n = 0; i < s.size(); i += n) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    n = byte(i) < 0x80 ? 1 : byte(i) < 0xC2 ? 0 : byte(i) < 0xE0 ? 2 : byte(i) < 0xF0 ? 3 : byte(i) < 0xF5 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    std::uint32_t c = n == 1 ? byte(i) : byte(i) & (0x7Fu >> n);
    for (std::size_t k = 1; k < n; ++k) {
      if ((byte(i + k) & 0xC0) != 0x80) return false;
      c = c << 6 | (byte(i + k) & 0x3F);
    }
    if (c < (n == 3 ? 0x800u : n == 4 ? 0x10000u : 0u) || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return false;
  }
  return true;
}

// What every set shares with English: the placeholders and the line breaks.
std::string Shape(const std::string& text) {
  std::string shape;
  for (const char* mark : {"%1", "%2", "%3", "%", "\n"}) {
    int count = 0;
    for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) ++count;
    shape += std::to_string(count) + ' ';
  }
  return shape;
}

// The character after a caption's only "&", in lower case when it is a Latin letter; empty without one.
std::string AccessKey(const std::string& caption) {
  const auto at = caption.find('&');
  if (at == std::string::npos || at != caption.rfind('&') || at + 1 == caption.size()) return "";
  std::string key = caption.substr(at + 1, 1);
  for (std::size_t i = at + 2; i < caption.size() && (caption[i] & 0xC0) == 0x80; ++i) key += caption[i];
  key[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])));
  return key;
}

// Every language's texts, filled in as the program fills them with a 20-character product name and
// the sizes of a 2 GB download, come out whole in the tray's fields. English and German keep their
// letters: English's Cancel and Continue share "C", German's complete tooltip is cut.
TEST(Localisation, EverySetHasTheEnglishShapeDistinctAccessKeysAndFitsTheTray) {
  test::RecordingReporters r;
  const std::int16_t english = 1000;
  const Localisation reference(english, r);
  const std::string product = "Example Product Name", kb = "2097151";
  for (int set = 1; set <= 32; ++set) {
    const auto base = static_cast<std::int16_t>(set * 1000);
    const Localisation texts(base, r);
    const auto text = [&](std::int32_t offset) { return texts.LoadLocalString(offset); };
    for (std::int32_t offset = 1; offset <= 16; ++offset) {
      EXPECT_EQ(Shape(text(offset)), Shape(reference.LoadLocalString(offset))) << base << "+" << offset;
      EXPECT_TRUE(WellFormedUtf8(text(offset))) << base << "+" << offset;
    }
    const std::set<std::string> keys{AccessKey(text(1)), AccessKey(text(2)), AccessKey(text(3))};
    EXPECT_TRUE(base == 1000 || (keys.size() == 3 && !keys.contains(""))) << base << ": access keys";
    const std::pair<std::string, std::size_t> fields[] = {
        {sprintf(r, text(5), {kb, kb, product}), nid::kTipWidth},
        {sprintf(r, text(6), {product}), nid::kTipWidth},
        {sprintf(r, text(14), {product}), nid::kTipWidth},
        {sprintf(r, text(4), {product}), nid::kInfoTitleWidth},
        {text(13), nid::kInfoWidth},
    };
    for (const auto& [filled, width] : fields) {
      if (base != 2000) {
        EXPECT_EQ(TrayFieldText(filled, width).find('\0'), filled.size()) << base << ": " << filled;
      }
    }
    for (std::int32_t reason : {9, 10, 11, 12, 16}) {
      const std::string balloon = text(7) + "|" + text(reason);
      EXPECT_EQ(TrayFieldText(balloon, nid::kInfoWidth).find('\0'), balloon.size()) << base << ": " << balloon;
    }
  }
  EXPECT_TRUE(r.runtimeReports.empty());
}

TEST(Languages, TheFirstTagWithATextSetChoosesItAndEnglishIsLeft) {
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{"de_DE.UTF-8"}, 2000},   {{"pt_BR"}, 6000},        {{"pt_PT.UTF-8"}, 26000}, {{"pt"}, 26000},
      {{"zh_TW.Big5"}, 22000},   {{"zh-HK"}, 22000},       {{"zh-Hant-CN"}, 22000},  {{"zh_CN"}, 21000},
      {{"nb_NO"}, 12000},        {{"no"}, 12000},          {{"id_ID"}, 27000},       {{"vi_VN"}, 28000},
      {{"HE-il"}, 25000},        {{"sr_RS@latin", "sw", "fr_CA"}, 3000},             {{"nn_NO", "C"}, 1000},
      {{}, 1000},
  };
  for (const auto& [tags, language] : cases) EXPECT_EQ(LanguageOfTags(tags), language) << testing::PrintToString(tags);
}

// A few texts whose exact letters matter, misspellings and all.
TEST(Localisation, TextsComeOutLetterForLetterWithLineBreaksMade) {
  const std::tuple<std::int16_t, std::int32_t, std::string> cases[] = {
      {1000, 6, "%1 Updater: Download is fault.\r\nClick on icon for more details."},
      {2000, 7, "Download war nicht m\xC3\xB6glich."},
      {2000, 12, "The downgeladenen Datei hat eine falsche Gro\xD0\xAF" "e."},
      {2000, 15, "KLicken Sie auf OK um die Installation zu starten."},
      {1005, 1, "%1 Updater: Download is fault.\r\nClick on icon for more details."},  // any base works
  };
  test::RecordingReporters reporters;
  for (const auto& [base, offset, expected] : cases)
    EXPECT_EQ(Localisation(base, reporters).LoadLocalString(offset), expected) << base << "+" << offset;
  EXPECT_TRUE(reporters.runtimeReports.empty());
}

TEST(Sprintf, EachValueFillsTheFirstOccurrenceInTheTextAsItStands) {
  test::RecordingReporters r;
  EXPECT_EQ(sprintf(r, "%3 Updater: %1 kb of %2 is downloaded.", {120, 512, "Demo App"}),
            "Demo App Updater: 120 kb of 512 is downloaded.");
  EXPECT_EQ(sprintf(r, "%1 Updater", {}), "%1 Updater");
  EXPECT_EQ(sprintf(r, "%1 and %1", {"a"}), "a and %1");
  EXPECT_EQ(sprintf(r, "100%%1", {-5}), "100%-5");
  EXPECT_EQ(sprintf(r, "[%1] %2", {""}), "[] %2");
  EXPECT_EQ(sprintf(r, "%1 %2", {"<%2>", "B"}), "<B> %2");  // the first value brought its own "%2"
  EXPECT_EQ(sprintf(r, "%10 %1", {"x", 2, 3, 4, 5, 6, 7, 8, 9, 10}), "x0 %1");
  EXPECT_TRUE(r.runtimeReports.empty());
}

}  // namespace
}  // namespace updater
