// SplashProgress: the stages of the start-up splash.
#include "splash_progress.h"

#include "window_texts.h"

namespace {

struct Stage {
  int threshold;
  const char* text;
  int step;
};

constexpr Stage kStages[] = {
    {0, wintext::kStageLoading, 5},
    {30, wintext::kStageBase, 10},
    {80, wintext::kStageEngine, 8},
    {105, wintext::kStageSettings, 8},
    {130, wintext::kStageInit, 3},
};
constexpr int kStageCount = sizeof kStages / sizeof kStages[0];
constexpr int kPause = 141;  // one tick is spent here without drawing
constexpr int kEnd = 142;

}  // namespace

SplashTick SplashProgress::tick() {
  SplashTick t;
  if (finished_) {
    t.stop = true;
    return t;
  }
  if (position_ < 0 || position_ == kPause) {
    ++position_;
    return t;
  }
  if (position_ >= kEnd) {
    finished_ = true;
    t.stop = true;
    return t;
  }
  if (stage_ < kStageCount && kStages[stage_].threshold <= position_) {
    t.stageText = kStages[stage_].text;
    step_ = kStages[stage_].step;
    ++stage_;
  }
  position_ += step_;
  t.paint = true;
  t.width = 2 * (position_ + step_);
  return t;
}
