#include "cli/StartupRecord.h"

#include "config/Defaults.h"
#include "ui/main/MainFormValues.h"

namespace tarnwick::cli {

ConfigRecord startupRecord() {
  ConfigRecord record;
  applyDefaults(record);
  // The form shows the defaults and saving collects them again: the same steps the main window
  // takes, so this file and the window's first save are the same bytes.
  formValuesToRecord(recordToFormValues(record), record);
  return record;
}

}  // namespace tarnwick::cli
