#pragma once

#include <QString>

// The servers the program talks to: host names, optionally with ":port"; the update host may
// also start with "https://" (see serverAddress in webrequest.h). Each is a build setting that an
// environment variable of the same name overrides, so tests reach a local server and packagers
// need not rebuild.
namespace Endpoints {

QString updateHost();        // TARVO_UPDATE_HOST
QString publicAddressHost(); // TARVO_PUBLIC_ADDRESS_HOST

} // namespace Endpoints
