// Constants of the knowledge base file: the magic, the version written, the
// markers and the smallest size of each record (used to check counts
// against the bytes a file still holds).
#pragma once

#include <cstddef>

namespace norvix::kbfile {

inline constexpr char kMagic[] = "ZRB";
inline constexpr int kVersionWritten = 2;
inline constexpr int kFirstRefusedVersion = 3;
inline constexpr unsigned char kAutoReportBit = 2;
inline constexpr unsigned char kValueListBit = 1;
inline constexpr unsigned char kDecomposeBit = 2;
inline constexpr char kSlotDefSection[] = "SD";
inline constexpr char kFrameSection[] = "PR";
inline constexpr char kHasParent = 'P';
inline constexpr char kRoot = 'R';
inline constexpr char kSample = 'E';
inline constexpr char kPrototype = 'P';

inline constexpr size_t kTextMin = 4;                            // an empty text
inline constexpr size_t kSlotDefRecordMin = 3 * kTextMin + 1;    // name, definition, default, flags
inline constexpr size_t kFrameRecordMin = 2 * kTextMin + 1;      // name, definition, hierarchy byte
inline constexpr size_t kSlotRecordMin = 3 * kTextMin;           // name, note, value

}  // namespace norvix::kbfile
