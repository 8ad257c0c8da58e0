#include "config/xml_nesting.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text_encoding.h"

namespace {

TEST(NestsDeeperThan, CountsOnlyElementsOpenInsideOneAnother) {
  struct Case {
    std::wstring xml;
    std::size_t depth;  // the deepest nesting
  };
  std::wstring siblings = L"<r>";
  for (int i = 0; i < 1000; ++i) siblings += L"<a x=\"1\"></a><b/>";
  const Case cases[] = {
      {L"<a><b/><c>text</c></a>", 2},
      {siblings + L"</r>", 2},
      {L"<a><!-- <b><c> --><![CDATA[<d><e>]]><?pi <f>?></a>", 1},
      {L"<!DOCTYPE a><a x='/>' y=\"<b>\"><c/></a>", 1},
      {L"<a></a><b><c></c></b>", 2},
      {L"<a><b><c", 2},  // the reader stops at the unfinished tag
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(NestsDeeperThan(c.xml, c.depth - 1)) << platform::ToUtf8(c.xml);
    EXPECT_FALSE(NestsDeeperThan(c.xml, c.depth)) << platform::ToUtf8(c.xml);
  }
}

}  // namespace
