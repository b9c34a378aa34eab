// The committed example files are what the example builders write now.
#include <gtest/gtest.h>

#include "example_bases.h"
#include "file_bytes.h"
#include "teaching_bases.h"

namespace norvix {
namespace {

void ExpectCurrent(const char* file, void (*build)(AKBase&)) {
  AKBase kb;
  build(kb);
  std::string committed = test::readAll(std::string(SUITE_SOURCE_DIR) + "/examples/" + file);
  EXPECT_EQ(committed, kb.SaveToBytes()) << file << " is out of date: run make_examples";
  AKBase loaded;
  EXPECT_TRUE(loaded.LoadFromBytes(committed)) << file;
  EXPECT_FALSE(loaded.TargetFrame.empty());
}

TEST(Examples, FruitIsCurrent) { ExpectCurrent("fruit.dat", examples::BuildFruit); }
TEST(Examples, ComputerIsCurrent) { ExpectCurrent("computer.dat", examples::BuildComputer); }
TEST(Examples, AnimalsIsCurrent) { ExpectCurrent("animals.dat", examples::BuildAnimals); }
TEST(Examples, HouseIsCurrent) { ExpectCurrent("house.dat", examples::BuildHouse); }
TEST(Examples, FaultyIsCurrent) { ExpectCurrent("faulty.dat", examples::BuildFaulty); }

}  // namespace
}  // namespace norvix
