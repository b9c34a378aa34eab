// The listener of frame events.
#include "frame_events.h"

namespace velloq {

static FrameEvents silent_listener;
static FrameEvents* listener = nullptr;

void set_frame_events(FrameEvents* l) { listener = l; }

FrameEvents& frame_events() { return listener ? *listener : silent_listener; }

void FrameNameList::frame_added(const char* name) {
  names_.insert(name);
}

void FrameNameList::frame_removed(const char* name) {
  names_.erase(name);
}

}  // namespace velloq
