// The progress of the start-up splash, tick by tick, without any window:
// a position that runs from -2 to 142 in steps that grow with the stages,
// and the caption text of each stage.
#pragma once

struct SplashTick {
  bool stop = false;              // the timer stops now; nothing else happens
  const char* stageText = nullptr;  // a new caption (Windows-1251), or none
  bool paint = false;             // paint the strip up to `width`
  int width = 0;
};

class SplashProgress {
 public:
  // Advances by one timer tick and says what the window does.
  SplashTick tick();

  int position() const { return position_; }
  bool finished() const { return finished_; }

 private:
  int position_ = -2;
  int step_ = 1;
  int stage_ = 0;
  bool finished_ = false;
};
