#include "net/endpoints.h"

namespace Endpoints {
namespace {
QString hostSetting(const char *environmentName, const char *built)
{
    const QString overridden = qEnvironmentVariable(environmentName).trimmed();
    return overridden.isEmpty() ? QString::fromUtf8(built) : overridden;
}
} // namespace

QString updateHost() { return hostSetting("TARVO_UPDATE_HOST", TARVO_UPDATE_HOST); }
QString publicAddressHost()
{
    return hostSetting("TARVO_PUBLIC_ADDRESS_HOST", TARVO_PUBLIC_ADDRESS_HOST);
}

} // namespace Endpoints
