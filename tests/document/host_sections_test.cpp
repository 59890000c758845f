// A host's sections described once: the same description stores, loads all-or-nothing and gives
// the host's schema.
#include "examples/host_document.h"
#include "support/test_support.h"

namespace labarc::testing {
namespace {

TEST(HostSections, OneDescriptionStoresLoadsAllOrNothingAndGivesTheSchema) {
  Document stored;
  stored.title = "Run 9", stored.background = RGB(1, 2, 3), stored.offset = 77;
  StoreArchive store;
  ASSERT_EQ(StoreSections(*store, stored, kDocumentSections), 1);
  const std::string text = store.Text();
  EXPECT_EQ(text, Lines({"[Run]", "Title=Run 9", "Sample Count=12", "Gain=2.5", "Background=1 2 3",
                         "[Instrument]", "Channel=3", "Offset=77", "Operator=R. Ames"}));
  Document loaded;
  LoadArchive load(text);
  ASSERT_EQ(LoadSections(*load, loaded, kDocumentSections), 1);
  EXPECT_EQ(loaded.title, "Run 9");
  EXPECT_EQ(loaded.background, RGB(1, 2, 3));
  EXPECT_EQ(loaded.offset, 77);
  // Damaged in its last entry: nothing of it is taken, and the failure names the entry.
  std::string damaged = text;
  damaged.replace(damaged.find("Operator="), 9, "Operater=");
  Document untouched;
  LoadArchive quiet(damaged);
  EXPECT_EQ(LoadSections(*quiet, untouched, kDocumentSections), 0);
  EXPECT_EQ(untouched.title, Document().title);
  EXPECT_EQ(quiet->GetLastFailure().expected, "Operator");
  EXPECT_EQ(quiet->GetLastFailure().line, 9);

  EXPECT_EQ(DocumentSchema(), R"({"application": "Example Plotter",
 "sections": [
  {"name": "Run", "entries": [
      {"label": "Title", "type": "string"},
      {"label": "Sample Count", "type": "int"},
      {"label": "Gain", "type": "double"},
      {"label": "Background", "type": "colour"}]},
  {"name": "Instrument", "entries": [
      {"label": "Channel", "type": "byte"},
      {"label": "Offset", "type": "long"},
      {"label": "Operator", "type": "string"}]}]}
)");
}

}  // namespace
}  // namespace labarc::testing
