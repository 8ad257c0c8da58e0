#include "config/character_references.h"

#include <gtest/gtest.h>

#include "platform/text_encoding.h"

namespace {

TEST(ResolveCharacterReferences, ResolvesOnlyWhereTheReaderWould) {
  struct Case {
    const wchar_t* xml;
    const wchar_t* resolved;
  };
  const Case cases[] = {
      {L"<a>&#x4E2D;&#25991;&#xe9;&#x1F600;</a>", L"<a>\u4E2D\u6587\u00E9\U0001F600</a>"},
      {L"<a b=\"&#x4E2D;\"/>", L"<a b=\"\u4E2D\"/>"},
      {L"&#x4E2D;", L"\u4E2D"},
      // ASCII references are markup the reader decodes correctly itself.
      {L"<a>&#60;&#x26;&#65;&amp;&#0;</a>", L"<a>&#60;&#x26;&#65;&amp;&#0;</a>"},
      // Incomplete references are the reader's to refuse.
      {L"<a>&#x4E2D &#; &#x; &#X4E2D; &#12a;</a>", L"<a>&#x4E2D &#; &#x; &#X4E2D; &#12a;</a>"},
      {L"<!-- &#x4E2D; --><a><![CDATA[&#x4E2D;]]>&#x4E2D;</a><?pi &#x4E2D;?>",
       L"<!-- &#x4E2D; --><a><![CDATA[&#x4E2D;]]>\u4E2D</a><?pi &#x4E2D;?>"},
      {L"<!DOCTYPE a><a><!-- unclosed &#x4E2D;", L"<!DOCTYPE a><a><!-- unclosed &#x4E2D;"},
  };
  for (const Case& c : cases) {
    std::wstring xml = c.xml;
    ASSERT_TRUE(ResolveCharacterReferences(xml)) << platform::ToUtf8(c.xml);
    EXPECT_EQ(xml, c.resolved) << platform::ToUtf8(c.xml);
  }
}

TEST(ResolveCharacterReferences, ReferenceToNoCharacterFails) {
  for (const wchar_t* xml : {L"<a>&#xD800;</a>", L"<a>&#xDFFF;</a>", L"<a>&#x110000;</a>",
                             L"<a>&#99999999999999999999;</a>"}) {
    std::wstring text = xml;
    EXPECT_FALSE(ResolveCharacterReferences(text)) << platform::ToUtf8(xml);
  }
}

}  // namespace
