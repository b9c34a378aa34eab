// Injected failures of the steps of a file replacement, for the tests.
//
// In the test build (SUITE_IO_FAULTS defined) every step of replaceFile -
// creating the temporary file, each write, the flush to the disk, naming
// the temporary file, closing it, the rename - first asks inject(), so a
// test can make any one step fail and look at what is left.  The
// environment variable SUITE_FAIL_IO_AT=N makes the N-th step of the
// process fail with EIO, for tests that run a whole program.  In other
// builds nothing is ever injected.
#pragma once

namespace fileio::faults {

// Whether this build can inject failures.
bool built();

// From now on the n-th step (1 = the next one) fails; 0 lets every step
// through.  Restarts the count of steps.
void failAt(long n);

// The steps counted since the last failAt (or since the program started).
long steps();

// Makes file replacement behave as on a file system without unnamed
// temporary files (O_TMPFILE), so the named fallback can be tested anywhere.
void refuseUnnamed(bool refuse);
bool unnamedRefused();

// Counts one step; returns true with errno set to EIO when it is the one
// to fail.
bool inject();

}  // namespace fileio::faults
