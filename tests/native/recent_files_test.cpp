#include "app/RecentFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace app;

namespace {

// The menu array as the user sees it: its elements in menu order.
class FakeMenu : public recent::MenuArray {
public:
    std::wstring Caption(int index) const override {
        return index == 0 ? recent::kSeparatorCaption : items.at(index);
    }
    void ShowSeparator() override { separatorShown = true; }
    void Create(int index, const std::wstring& caption) override {
        EXPECT_TRUE(items.empty() || index > items.rbegin()->first) << "created above an existing element";
        items[index] = caption;
    }
    void Remove(int index) override { EXPECT_EQ(items.erase(index), 1u) << index; }
    std::vector<std::wstring> Shown() const {
        std::vector<std::wstring> shown;
        for (const auto& [index, caption] : items) shown.push_back(caption);
        return shown;
    }
    std::map<int, std::wstring> items;
    bool separatorShown = false;
};

struct List {
    recent::Bounds bounds;
    FakeMenu menu;
    void Add(const std::wstring& path) { recent::AddRecentFile(bounds, menu, path); }
};

TEST(RecentFiles, KeepsTheLastFourInTheOrderTheyWereFirstOpened) {
    List list;
    EXPECT_TRUE(recent::Paths(list.bounds, list.menu).empty());
    for (const wchar_t* p : {L"A", L"B", L"C", L"D", L"E"}) list.Add(p);
    EXPECT_TRUE(list.menu.separatorShown);
    EXPECT_EQ(list.menu.Shown(), (std::vector<std::wstring>{L"B", L"C", L"D", L"E"}));
    EXPECT_EQ(list.bounds.MruFirst, 2);
    EXPECT_EQ(list.bounds.MruLast, 5);
    list.Add(L"C");   // listed already: nothing moves
    EXPECT_EQ(recent::Paths(list.bounds, list.menu), (std::vector<std::wstring>{L"B", L"C", L"D", L"E"}));
    list.Add(L"c");   // another letter case is another file name
    EXPECT_EQ(list.menu.Shown(), (std::vector<std::wstring>{L"C", L"D", L"E", L"c"}));
}

TEST(RecentFiles, RepeatedStoredEntryGivesOneEntryAndTheSeparatorCaptionNone) {
    List list;
    list.Add(L"-");   // compared with the separator's own caption while the list is empty
    EXPECT_TRUE(list.menu.items.empty());
    EXPECT_EQ(list.bounds.MruLast, 0);
    list.Add(L"C:\\a.bmp");
    list.Add(L"C:\\a.bmp");
    EXPECT_EQ(recent::Paths(list.bounds, list.menu), std::vector<std::wstring>{L"C:\\a.bmp"});
    EXPECT_EQ(list.bounds.MruFirst, 1);
    EXPECT_EQ(list.bounds.MruLast, 1);
}

TEST(RecentFiles, AtTheTopOfTheIndexRangeTheEntriesAreRenumberedNotOverflowed) {
    List list;
    for (int i = 0; i < 32767 + 3; ++i) list.Add(std::to_wstring(i));
    const auto paths = recent::Paths(list.bounds, list.menu);
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"32766", L"32767", L"32768", L"32769"}));
    EXPECT_GE(list.bounds.MruFirst, 1);
    EXPECT_LE(list.bounds.MruLast, 32767);
    EXPECT_EQ(list.bounds.MruLast - list.bounds.MruFirst + 1, 4);
    list.Add(L"32768");   // still found after the renumbering
    EXPECT_EQ(recent::Paths(list.bounds, list.menu), paths);
}

}  // namespace
