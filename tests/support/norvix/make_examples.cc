// Writes the example knowledge bases into a folder (by default the
// source tree's examples/) through SaveToFile, so they always have the
// current file format.
#include <cstdio>
#include <string>

#include "example_bases.h"
#include "teaching_bases.h"

int main(int argc, char** argv) {
  std::string folder = argc > 1 ? argv[1] : SUITE_SOURCE_DIR "/examples";
  struct {
    const char* file;
    void (*build)(norvix::AKBase&);
  } bases[] = {{"fruit.dat", norvix::examples::BuildFruit},
               {"computer.dat", norvix::examples::BuildComputer},
               {"animals.dat", norvix::examples::BuildAnimals},
               {"house.dat", norvix::examples::BuildHouse},
               {"faulty.dat", norvix::examples::BuildFaulty}};
  for (auto& base : bases) {
    norvix::AKBase kb;
    base.build(kb);
    std::string path = folder + "/" + base.file;
    if (!kb.SaveToFile(path)) return 1;
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
