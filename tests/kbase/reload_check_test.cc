// Which record sequences the loader and the writer give back unchanged, and
// what loading them charges.
#include <gtest/gtest.h>

#include <functional>

#include "load_budget.h"
#include "reload_check.h"

namespace norvix::kbfile {
namespace {

const std::array<std::string, 8> kHeader{};
const std::array<std::string, 3> kMessages{};

// Definitions 0 "a" and 1 "b" are plain, 2 "l" a value list.
ReloadCheck WithDefs() {
  ReloadCheck check;
  check.Header(kHeader);
  check.SlotDef("a", "", "", false, false, "");
  check.SlotDef("b", "Line\r\n", "", false, false, "");
  check.SlotDef("l", "", "", true, false, "");
  return check;
}

TEST(ReloadCheck, SavesBackOnlyWhatLoadingAndSavingKeep) {
  using Records = std::function<void(ReloadCheck&)>;
  struct Case {
    const char* what;
    bool savesBack;
    Records records;
  } cases[] = {
      {"a sample with every inherited value", true,
       [](ReloadCheck& c) {
         c.Frame(-1, "P", "", {0, 2});
         c.Frame(0, "S", "", {});
         c.Sample(kMessages, {0, 2}, 0);
       }},
      {"own first, each once, plain before value lists", true,
       [](ReloadCheck& c) {
         c.Frame(-1, "P", "", {0, 1, 2});
         c.Frame(0, "S", "", {1});
         c.Sample(kMessages, {1, 0, 2}, 0);
       }},
      {"values in another order", false,
       [](ReloadCheck& c) {
         c.Frame(-1, "P", "", {0, 1, 2});
         c.Frame(0, "S", "", {1});
         c.Sample(kMessages, {0, 1, 2}, 0);
       }},
      {"a value left out", false,
       [](ReloadCheck& c) {
         c.Frame(-1, "P", "", {0, 2});
         c.Frame(0, "S", "", {});
         c.Sample(kMessages, {0}, 0);
       }},
      {"a plain definition after a value list", false,
       [](ReloadCheck& c) { c.Frame(-1, "P", "", {2, 0}); }},
      {"a definition named twice", false, [](ReloadCheck& c) { c.Frame(-1, "P", "", {0, 0}); }},
      {"a definition with a bare line feed", false,
       [](ReloadCheck& c) { c.Frame(-1, "P", "a\nb\r\n", {}); }},
      {"depth first, children in order", true,
       [](ReloadCheck& c) {
         c.Frame(-1, "R", "", {});
         c.Frame(0, "C1", "", {});
         c.Frame(1, "G", "", {});
         c.Frame(0, "C2", "", {});
         c.Frame(-1, "R2", "", {});
       }},
      {"a child after another root", false,
       [](ReloadCheck& c) {
         c.Frame(-1, "R", "", {});
         c.Frame(-1, "R2", "", {});
         c.Frame(0, "C", "", {});
       }},
      {"a child after a cousin", false,
       [](ReloadCheck& c) {
         c.Frame(-1, "R", "", {});
         c.Frame(0, "C1", "", {});
         c.Frame(0, "C2", "", {});
         c.Frame(1, "G", "", {});
       }},
  };
  for (const Case& c : cases) {
    ReloadCheck check = WithDefs();
    c.records(check);
    EXPECT_EQ(check.SavesBack(1000), c.savesBack) << c.what;
  }
}

// A sample's slots start with their definitions' defaults, so a long
// default inherited by samples can take the load over its budget.
TEST(ReloadCheck, ChargesWhatTheLoaderWould) {
  const std::string longDefault(size_t{80} << 20, 'x');
  ReloadCheck check;
  check.Header(kHeader);
  check.SlotDef("a", "", longDefault, false, false, "");
  check.Frame(-1, "P", "", {0});
  check.Frame(0, "S", "", {});
  size_t valuesCost = 2 * LoadBudget::Text(0);
  check.Sample(kMessages, {0}, valuesCost);

  size_t cost = 8 * LoadBudget::Text(0);
  cost += 2 * LoadBudget::Text(1) + LoadBudget::SlotDef() + LoadBudget::Lines("") +
          LoadBudget::Text(longDefault.size());
  cost += 2 * (2 * LoadBudget::Text(1) + LoadBudget::Lines("") + LoadBudget::Frame());
  cost += LoadBudget::OwnSlotDef() + LoadBudget::Slot() + LoadBudget::Text(longDefault.size());
  cost += 3 * LoadBudget::Text(0) + valuesCost + LoadBudget::Reserve(2);
  size_t fixed = LoadBudget::kFixed;
  ASSERT_GT(cost, fixed);
  size_t smallest = (cost - fixed + LoadBudget::kPerFileByte - 1) / LoadBudget::kPerFileByte;
  EXPECT_TRUE(check.SavesBack(smallest));
  EXPECT_FALSE(check.SavesBack(smallest - 1));
}

}  // namespace
}  // namespace norvix::kbfile
