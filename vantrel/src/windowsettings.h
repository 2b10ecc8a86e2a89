#ifndef WINDOWSETTINGS_H
#define WINDOWSETTINGS_H

// Where the window keeps what it remembers between runs (QSettings); each
// feature names its own keys.
const char *const SettingsOrganization = "Vantrel";
const char *const SettingsApplication = "vantrel";

#endif
