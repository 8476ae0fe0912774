// The manual as a browser reads it: every link within the page reaches an
// anchor, every picture and page it names is there, nothing leads off to an
// address of the internet, and the sections the editor opens exist.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "EditorLinks.h"

namespace kest {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The values of every attribute of that name, in order (double quotes only,
// as the page writes them).
std::vector<std::string> Attributes(const std::string& html, const std::string& name) {
  std::vector<std::string> values;
  const std::string key = " " + name + "=\"";
  for (std::size_t at = html.find(key); at != std::string::npos; at = html.find(key, at + 1)) {
    const std::size_t start = at + key.size();
    const std::size_t end = html.find('"', start);
    if (end == std::string::npos) break;
    values.push_back(html.substr(start, end - start));
  }
  return values;
}

class Manual : public ::testing::Test {
protected:
  void SetUp() override {
    html = ReadFile(page);
    ASSERT_FALSE(html.empty()) << page;
    for (const std::string& id : Attributes(html, "id")) {
      EXPECT_TRUE(anchors.insert(id).second) << "two anchors named " << id;
    }
  }
  const fs::path docs = KEST_DOCS_DIR;
  const fs::path page = docs / std::string(kManualPage);
  std::string html;
  std::set<std::string> anchors;
};

TEST_F(Manual, EveryLinkAndPictureResolvesWithinTheManual) {
  std::vector<std::string> targets = Attributes(html, "href");
  const std::vector<std::string> pictures = Attributes(html, "src");
  ASSERT_GT(targets.size(), 10u);
  ASSERT_GE(pictures.size(), 2u) << "the editor and the about window";
  targets.insert(targets.end(), pictures.begin(), pictures.end());
  for (const std::string& t : targets) {
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.find(':'), std::string::npos) << t << ": no addresses outside the manual";
    if (t.front() == '#') {
      EXPECT_TRUE(anchors.count(t.substr(1))) << t;
      continue;
    }
    const fs::path file = docs / t.substr(0, t.find('#'));
    EXPECT_TRUE(fs::is_regular_file(file)) << t;
    if (file.extension() == ".png") {
      EXPECT_EQ(ReadFile(file).substr(0, 8), "\x89PNG\r\n\x1a\n") << t;
    }
  }
}

TEST_F(Manual, TheSectionsTheEditorOpensExist) {
  for (std::string_view section : {kHomeSection, kDonationSection, kMakerSection})
    EXPECT_TRUE(anchors.count(std::string(section))) << section;
  for (const char* part : {"effect", "editor", "menus", "bank", "render", "editor-tool"})
    EXPECT_TRUE(anchors.count(part)) << part;
}

TEST_F(Manual, TheBuildPutsACopyBesideTheModule) {
  const fs::path copy = KEST_MANUAL_COPY_DIR;
  EXPECT_EQ(copy.filename(), kManualFolder);
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(docs)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".html" && ext != ".png") continue;
    ++files;
    EXPECT_EQ(ReadFile(copy / entry.path().filename()), ReadFile(entry.path()))
        << entry.path().filename();
  }
  EXPECT_GE(files, 3u);
}

} // namespace
} // namespace kest
