#include "tray/TrayText.h"

#include <gtest/gtest.h>

#include <string>

namespace updater {
namespace {

std::string Terminated(const std::string& text, std::size_t width) {
  std::string field = text + '\0';
  field.resize(width, ' ');
  return field;
}

TEST(TrayFieldText, BreaksMarksCutsToWholeCharactersAndTerminates) {
  const std::string x125(125, 'x');
  const std::string euro = "\xE2\x82\xAC";
  const std::string grin = "\xF0\x9F\x98\x80";
  struct Case {
    std::string text;
    std::size_t width;
    std::string kept;
  };
  const Case cases[] = {
      {"", 128, ""},
      {"a|b", 128, "a\rb"},
      {"||", 64, "\r\r"},
      {"one\r\ntwo", 128, "one\r\ntwo"},
      {std::string(127, 'x'), 128, std::string(127, 'x')},
      {std::string(128, 'x'), 128, std::string(127, 'x')},
      {std::string(126, 'x') + "|", 128, std::string(126, 'x') + "\r"},
      {std::string(127, 'x') + "|", 128, std::string(127, 'x')},
      {std::string(300, 'y'), 256, std::string(255, 'y')},
      {std::string(64, 'z'), 64, std::string(63, 'z')},
      // A UTF-8 character that does not fit whole is left out whole.
      {x125 + "\xC3\xA9", 128, x125 + "\xC3\xA9"},
      {x125 + "x\xC3\xA9", 128, x125 + "x"},
      {"xx" + x125 + euro, 128, "xx" + x125},
      {"x" + x125 + euro, 128, "x" + x125},
      {x125.substr(1) + euro, 128, x125.substr(1) + euro},
      {x125.substr(2) + grin, 128, x125.substr(2) + grin},
      {x125.substr(1) + grin, 128, x125.substr(1)},
      {x125 + grin, 128, x125},
      {std::string(62, 'c') + "\xC3\xA9", 64, std::string(62, 'c')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TrayFieldText(c.text, c.width), Terminated(c.kept, c.width));
  }
}

TEST(TrayFieldText, StrayContinuationBytesAreCutWhereTheyStand) {
  const std::string stray = std::string(120, 'x') + std::string(10, '\x80');
  EXPECT_EQ(TrayFieldText(stray, 128), Terminated(stray.substr(0, 127), 128));
}

}  // namespace
}  // namespace updater
