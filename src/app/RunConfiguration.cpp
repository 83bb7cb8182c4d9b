#include "app/SaverApp.h"
#include "config/SaverSettings.h"

// Placeholder until the configuration dialog lands: read and write back.
void CSaverApp::RunConfiguration() {
    SaverSettings settings;
    ReadSettings(settings);
    SaveSettings(settings);
}
