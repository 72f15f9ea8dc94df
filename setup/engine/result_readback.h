// Copies the product key's contents into the setup log after the Chromium installer has run.
#pragma once

namespace vesk {

// Logs every value of "Software\Vesk.helm" as "<name>: <value>", then the installer's three
// result values and the log's own path. Changes nothing.
void logRegistryValue();

}  // namespace vesk
