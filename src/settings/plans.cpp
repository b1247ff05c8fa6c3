#include "settings/plans.h"

#include "settings/profile.h"

#include <algorithm>

namespace {

const QString missingName = QStringLiteral("error reading file");
const QString missingValue = QStringLiteral("0");

QString planSection(int32_t index)
{
    return QStringLiteral("Plan%1").arg(index);
}

} // namespace

QStringList readPlanNames(const QString &plansPath)
{
    const IniDocument ini = IniDocument::read(plansPath);
    const int32_t count = std::clamp(ini.integer(u"General", u"PlansCount", 0), 0, maxPlanCount);
    QStringList names;
    names.reserve(count);
    for (int32_t i = 0; i < count; ++i)
        names.append(ini.string(planSection(i), u"Name", missingName));
    return names;
}

Plan readPlan(const QString &plansPath, int32_t index)
{
    const IniDocument ini = IniDocument::read(plansPath);
    const QString section = planSection(index);
    const auto text = [&](QStringView key, const QString &fallback) {
        return ProfileValue::trimmed(ini.string(section, key, fallback));
    };
    // The file is ours and writes its numbers with "."; the boxes read the user's format.
    const auto number = [&](QStringView key) {
        const QString value = text(key, missingValue);
        const auto parsed = ProfileValue::parseFloat(value, QLocale::c());
        return parsed ? ProfileValue::formatFloat(*parsed) : value;
    };
    return Plan{index, text(u"Name", missingName), number(u"Recharge"), number(u"Max"), number(u"Throttle")};
}
