// The Lisp texts the browser windows run to change frames.  Every change
// goes through the top level like typed text, so triggers fire as they do
// from the terminal.  Names and forms are Windows-1251; each text is one
// expression ending in a line feed (the top level evaluates only the first
// expression of a text).
#pragma once

#include <string>
#include <vector>

namespace velloq_browser {

// A symbol name as the reader reads it back: bare when it is made of
// upper-case letters, digits and plain constituents and cannot be read as
// a number, else between bars with '|' and '\' escaped.
std::string lispName(const std::string& name);

// (ADDCHILD 'PARENT): a new frame named after the parent (PARENT1 ...).
std::string addChildText(const std::string& parent);
// (ADDFRAME 'NAME), then (SETPARENTS NAME PARENT) unless the parent is FRAME.
std::string addNamedChildText(const std::string& parent, const std::string& name);
// DELFRAME of each name in order, in one PROGN.
std::string deleteFramesText(const std::vector<std::string>& deepestFirst);
// (SETPARENTS FRAME PARENT).
std::string setParentsText(const std::string& frame, const std::string& parent);
// The slot added when missing, then its value set from the expression
// `form` (evaluated), as SETSLOTVALUE does.  An inherited slot thus gets
// an own slot that overrides it.
std::string setSlotValueText(const std::string& frame, const std::string& slot,
                             const std::string& form);
// (SETSLOTVALUE FRAME 'SLOT form) alone, for the inheritance slot: its
// new value re-parents the frame.
std::string assignSlotText(const std::string& frame, const std::string& slot,
                           const std::string& form);
// (ADDSLOT FRAME 'SLOT).
std::string addSlotText(const std::string& frame, const std::string& slot);
// (DELSLOT FRAME 'SLOT).
std::string deleteSlotText(const std::string& frame, const std::string& slot);
// The DEFUN form of a slot's method, as the text editor shows it:
// (DEFUN FRAME^SLOT PARAMETERS\n  BODY-LINE\n ...).  `parameters` is a
// printed lambda list ("()" for none).
std::string methodText(const std::string& frame, const std::string& slot,
                       const std::string& parameters, const std::string& body);
// Ends text with a line feed, so that the top level reads it whole.
std::string asRunText(const std::string& text);

}  // namespace velloq_browser
