#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <string>

namespace zelvio {
namespace {

std::string ReadOrMissing(const IniDocument& doc, std::string_view section, std::string_view name) {
  return doc.ReadString(section, name).value_or("<missing>");
}

// ---- Reading ---------------------------------------------------------------

TEST(IniDocumentRead, SectionAndNameIgnoreCaseAndBlanksAreDropped) {
  IniDocument doc = IniDocument::Parse("[formmain]\r\n  radiobuttondimfullscreen_checked =  yes \r\n");
  EXPECT_TRUE(doc.HasValue("FormMain", "RadioButtonDimFullscreen_Checked"));
  EXPECT_EQ(ReadOrMissing(doc, "FormMain", "RadioButtonDimFullscreen_Checked"), "yes");
  EXPECT_EQ(ReadOrMissing(doc, "FORMMAIN", "RADIOBUTTONDIMFULLSCREEN_CHECKED"), "yes");
}

TEST(IniDocumentRead, TabsAreBlanksToo) {
  IniDocument doc = IniDocument::Parse("\t[\tS\t]\t\r\n\tKey\t=\tvalue with  inner  blanks\t\r\n");
  EXPECT_EQ(ReadOrMissing(doc, "S", "Key"), "value with  inner  blanks");
}

TEST(IniDocumentRead, AnyLineEndingSeparatesLines) {
  for (std::string text : {"[S]\r\nA=1\r\nB=2\r\n", "[S]\nA=1\nB=2\n", "[S]\rA=1\rB=2\r", "[S]\r\nA=1\nB=2",
                           "[S]\n\r\nA=1\r\r\nB=2"}) {
    IniDocument doc = IniDocument::Parse(text);
    EXPECT_EQ(ReadOrMissing(doc, "S", "A"), "1") << text;
    EXPECT_EQ(ReadOrMissing(doc, "S", "B"), "2") << text;
  }
}

TEST(IniDocumentRead, CommentsEmptyLinesAndLinesBeforeFirstSectionAreSkipped) {
  IniDocument doc = IniDocument::Parse(
      "Early=1\r\n"
      "[S]\r\n"
      "; Commented=1\r\n"
      "   ;Indented=1\r\n"
      "\r\n"
      "   \r\n"
      "Late=2\r\n");
  EXPECT_FALSE(doc.HasValue("", "Early"));
  EXPECT_FALSE(doc.HasValue("S", "Early"));
  EXPECT_FALSE(doc.HasValue("S", "; Commented"));
  EXPECT_FALSE(doc.HasValue("S", "Commented"));
  EXPECT_FALSE(doc.HasValue("S", "Indented"));
  EXPECT_EQ(ReadOrMissing(doc, "S", "Late"), "2");
}

// Notepad and friends may save the file with a UTF-8 byte-order mark. Only a mark at the
// very start is dropped; anything else that is not a section line before the first section
// is still nothing, and the file is written back without a mark.
TEST(IniDocumentRead, LeadingByteOrderMarkIsSkipped) {
  struct Case {
    std::string text;
    const char* expected;  // value of S\A
  };
  const std::string bom = "\xEF\xBB\xBF";
  const Case cases[] = {
      {bom + "[S]\r\nA=1\r\n", "1"},
      {bom + "  [S]\r\nA=2\r\n", "2"},
      {bom + "\r\n[S]\r\nA=3\r\n", "3"},
      {bom + "A=0\r\n[S]\r\nA=4\r\n", "4"},
      {bom + bom + "[S]\r\nA=5\r\n", "<missing>"},  // a second mark is text
      {"\xEF\xBB[S]\r\nA=6\r\n", "<missing>"},      // half a mark is text
      {"[S]\r\n" + bom + "A=7\r\n", "<missing>"},   // inside the file it is part of a name
  };
  for (const Case& c : cases) {
    IniDocument doc = IniDocument::Parse(c.text);
    EXPECT_EQ(ReadOrMissing(doc, "S", "A"), c.expected) << c.expected;
  }
  EXPECT_EQ(IniDocument::Parse(bom + "[FormMain]\r\nA=1\r\n").Serialize(), "[FormMain]\r\nA=1\r\n\r\n");
}

TEST(IniDocumentRead, SplitsAtFirstEqualsAndKeepsTheRestOfTheValue) {
  IniDocument doc = IniDocument::Parse("[S]\r\nA = b = c ;not a comment\r\nEmpty=\r\n=NoName\r\n");
  EXPECT_EQ(ReadOrMissing(doc, "S", "A"), "b = c ;not a comment");
  EXPECT_TRUE(doc.HasValue("S", "Empty"));
  EXPECT_EQ(ReadOrMissing(doc, "S", "Empty"), "");
  EXPECT_EQ(ReadOrMissing(doc, "S", ""), "NoName");
}

TEST(IniDocumentRead, LineWithoutEqualsNeverMatchesAName) {
  IniDocument doc = IniDocument::Parse("[S]\r\nLonely\r\n[Half\r\n");
  EXPECT_FALSE(doc.HasValue("S", "Lonely"));
  EXPECT_FALSE(doc.HasValue("S", "[Half"));
  EXPECT_FALSE(doc.HasValue("Half", "Lonely"));
}

TEST(IniDocumentRead, SectionNameIsTrimmedInsideBrackets) {
  IniDocument doc = IniDocument::Parse("[  Form Main  ]\r\nA=1\r\n");
  EXPECT_EQ(ReadOrMissing(doc, "form main", "A"), "1");
  EXPECT_FALSE(doc.HasValue("  Form Main  ", "A"));
}

TEST(IniDocumentRead, MissingSectionOrNameIsNotFound) {
  IniDocument doc = IniDocument::Parse("[S]\r\nA=1\r\n");
  EXPECT_FALSE(doc.HasValue("T", "A"));
  EXPECT_FALSE(doc.HasValue("S", "B"));
  EXPECT_FALSE(doc.ReadString("S", "B").has_value());
  EXPECT_TRUE(IniDocument::Parse("").Empty());
  EXPECT_TRUE(IniDocument::Parse("A=1\r\n;x\r\n").Empty());
}

// ---- Duplicates ------------------------------------------------------------

TEST(IniDocumentDuplicates, LaterNameIsReadAndRewrittenEarlierStaysAsItWas) {
  IniDocument doc = IniDocument::Parse("[S]\r\nA=first\r\nB=x\r\na=second\r\nC=y\r\n");
  EXPECT_EQ(ReadOrMissing(doc, "S", "A"), "second");

  doc.WriteString("S", "A", "third");
  EXPECT_EQ(ReadOrMissing(doc, "S", "a"), "third");
  EXPECT_EQ(doc.Serialize(), "[S]\r\nA=first\r\nB=x\r\nA=third\r\nC=y\r\n\r\n");
}

TEST(IniDocumentDuplicates, LaterSectionIsUsedAndBothAreWritten) {
  IniDocument doc = IniDocument::Parse("[S]\r\nA=1\r\n[T]\r\nX=0\r\n[s]\r\nB=2\r\n");
  EXPECT_FALSE(doc.HasValue("S", "A"));
  EXPECT_EQ(ReadOrMissing(doc, "S", "B"), "2");

  doc.WriteString("S", "C", "3");
  EXPECT_EQ(doc.Serialize(), "[S]\r\nA=1\r\n\r\n[T]\r\nX=0\r\n\r\n[s]\r\nB=2\r\nC=3\r\n\r\n");
}

// ---- Writing ---------------------------------------------------------------

TEST(IniDocumentWrite, ReplaceTakesWritersNameSpellingSectionKeepsFileSpelling) {
  IniDocument doc =
      IniDocument::Parse("[formmain]\r\n  radiobuttondimfullscreen_checked =  yes \r\nOther=1\r\n");
  doc.WriteString("FormMain", "RadioButtonDimFullscreen_Checked", "TRUE");
  EXPECT_EQ(doc.Serialize(), "[formmain]\r\nRadioButtonDimFullscreen_Checked=TRUE\r\nOther=1\r\n\r\n");
}

TEST(IniDocumentWrite, NewNameGoesToEndOfItsSectionNewSectionToEndOfDocument) {
  IniDocument doc = IniDocument::Parse("[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
  doc.WriteString("a", "z", "3");
  doc.WriteString("C", "w", "4");
  doc.WriteString("A", "v", "5");
  EXPECT_EQ(doc.Serialize(), "[A]\r\nx=1\r\nz=3\r\nv=5\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nw=4\r\n\r\n");
}

TEST(IniDocumentWrite, EmptyDocumentBuildsAFileFromScratch) {
  IniDocument doc;
  EXPECT_EQ(doc.Serialize(), "");
  doc.WriteString("FormMain", "FormVersion", "0");
  doc.WriteString("FormMain", "ShowCmd", "1");
  doc.WriteString("FormMain", "FormVersion", "0");
  EXPECT_EQ(doc.Serialize(), "[FormMain]\r\nFormVersion=0\r\nShowCmd=1\r\n\r\n");
}

TEST(IniDocumentWrite, WrittenValueIsReadBackExactlyUntilReload) {
  IniDocument doc;
  doc.WriteString("S", "Path", "  C:\\Out put\\  ");
  EXPECT_EQ(ReadOrMissing(doc, "S", "Path"), "  C:\\Out put\\  ");
  std::string file = doc.Serialize();
  EXPECT_EQ(file, "[S]\r\nPath=  C:\\Out put\\  \r\n\r\n");
  EXPECT_EQ(ReadOrMissing(IniDocument::Parse(file), "S", "Path"), "C:\\Out put\\");
}

TEST(IniDocumentWrite, LineWithoutEqualsIsNotReplacedByAWriteOfTheSameText) {
  IniDocument doc = IniDocument::Parse("[S]\r\nLonely\r\n");
  doc.WriteString("S", "Lonely", "1");
  EXPECT_EQ(doc.Serialize(), "[S]\r\nLonely\r\nLonely=1\r\n\r\n");
}

// ---- Serialising -----------------------------------------------------------

TEST(IniDocumentSerialize, UnknownContentSurvivesCommentsAndBlanksDoNot) {
  IniDocument doc = IniDocument::Parse(
      "; written by hand\n"
      "Stray=1\n"
      "[FormMain]\n"
      "FormVersion = 0\n"
      "; keep me? no\n"
      "\n"
      "SomethingNew=42\n"
      "  free text  \n"
      "[Elsewhere]\n"
      "Key=Value");
  EXPECT_EQ(doc.Serialize(),
            "[FormMain]\r\n"
            "FormVersion=0\r\n"
            "SomethingNew=42\r\n"
            "free text\r\n"
            "\r\n"
            "[Elsewhere]\r\n"
            "Key=Value\r\n"
            "\r\n");
}

TEST(IniDocumentSerialize, EmptySectionKeepsItsHeaderAndBlankLine) {
  EXPECT_EQ(IniDocument::Parse("[Empty]\n[ ]\n").Serialize(), "[Empty]\r\n\r\n[]\r\n\r\n");
}

TEST(IniDocumentSerialize, SerializingAParsedFileIsStable) {
  const char* text = "x\r\n[A]\r\n k = v \r\nplain\r\n[a]\r\n=\r\n[[b]]\r\n[c\r\n";
  std::string once = IniDocument::Parse(text).Serialize();
  EXPECT_EQ(IniDocument::Parse(once).Serialize(), once);
  EXPECT_EQ(once, "[A]\r\nk=v\r\nplain\r\n\r\n[a]\r\n=\r\n\r\n[[b]]\r\n[c\r\n\r\n");
}

// ---- Paths -----------------------------------------------------------------

TEST(IniValuePaths, SplitAtLastBackslashAfterCollapsing) {
  struct Case {
    const char* path;
    const char* section;
    const char* name;
  };
  for (Case c :
       {Case{"FormMain\\RadioButtonDimFullscreen_Checked", "FormMain", "RadioButtonDimFullscreen_Checked"},
        Case{"FormMain\\\\\\Flags", "FormMain", "Flags"}, Case{"FormMain\\Flags\\\\", "FormMain", "Flags"},
        Case{"\\FormMain\\Flags", "FormMain", "Flags"}, Case{"A\\\\B\\C", "A\\B", "C"},
        Case{"NameOnly", "", "NameOnly"}, Case{"", "", ""}}) {
    IniValuePath split = SplitValuePath(c.path);
    EXPECT_EQ(split.section, c.section) << c.path;
    EXPECT_EQ(split.name, c.name) << c.path;
  }
}

TEST(IniValuePaths, FormNameMacroIsReplacedInAnyLetterCase) {
  EXPECT_EQ(ExpandFormName("%FORM_NAME%\\", "FormMain"), "FormMain\\");
  EXPECT_EQ(ExpandFormName("%form_Name%\\Sub\\%FORM_NAME%", "F"), "F\\Sub\\F");
  EXPECT_EQ(ExpandFormName("%FORM_NAME\\%FORM_NAME_%", "F"), "%FORM_NAME\\%FORM_NAME_%");
  EXPECT_EQ(ExpandFormName("Plain\\", "F"), "Plain\\");
  EXPECT_EQ(SplitValuePath(ExpandFormName("%FORM_NAME%\\", "FormMain") + "ShowCmd").section, "FormMain");
}

TEST(IniCaseFolding, OnlyAsciiLettersFold) {
  EXPECT_TRUE(EqualsIgnoreCase("FormMain_Z", "formmain_z"));
  EXPECT_FALSE(EqualsIgnoreCase("A", "AB"));
  EXPECT_FALSE(EqualsIgnoreCase("[", "{"));  // 0x5B and 0x7B differ by 0x20 but are not letters
  EXPECT_FALSE(EqualsIgnoreCase("\xC4", "\xE4"));
  EXPECT_EQ(AsciiLower("AbZ@[`\xC4"), "abz@[`\xC4");
}

}  // namespace
}  // namespace zelvio
