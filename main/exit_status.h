// The probe's exit statuses. 70, 71, 74 and 75 follow sysexits(3), so scripts can tell a broken
// run from an answer.
#pragma once

namespace screenprobe {

enum ExitStatus : int {
  kExitReport = 0,     // the report was written
  kExitNoScreen = 1,   // the platform has no main screen; the failure line was written
  kExitSoftware = 70,  // the report holds a number JSON cannot carry; nothing was written
  kExitOsError = 71,   // the probe could not allocate memory; nothing was written (a display's or
                       // compositor's own error, out of memory or not, is no screen)
  kExitIoError = 74,   // standard output could not be written
  kExitTempFail = 75,  // the display did not answer in time; nothing was written
};

}  // namespace screenprobe
