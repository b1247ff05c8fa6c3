#include "meter/providerfigure.h"

#include <QTest>

#include <vector>

using Kind = ProviderFigure::Kind;
Q_DECLARE_METATYPE(ProviderFigure::Kind)
Q_DECLARE_METATYPE(std::optional<int32_t>)
Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(std::vector<BucketCorrection>)

namespace {
constexpr int32_t limit = 100000000;
constexpr int64_t day = 86400;

// The figure read, against the row's columns "valid", "kind" and "value".
void compareFigure(const std::optional<ProviderFigure> &figure)
{
    QFETCH(bool, valid);
    QFETCH(Kind, kind);
    QFETCH(double, value);
    QCOMPARE(figure.has_value(), valid);
    if (!figure)
        return;
    QCOMPARE(figure->kind, kind);
    QCOMPARE(figure->value, value);
}
} // namespace

// The provider's figure into a bucket level, the text a user types for it, and the drift the
// recorded corrections show.
class TestProviderFigure : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void level_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<double>("value");
        QTest::addColumn<int32_t>("limit");
        QTest::addColumn<std::optional<int32_t>>("expected");
        QTest::newRow("all remaining") << Kind::RemainingBytes << double(limit) << limit << std::optional<int32_t>(0);
        QTest::newRow("none remaining") << Kind::RemainingBytes << 0.0 << limit << std::optional<int32_t>(limit);
        QTest::newRow("some remaining") << Kind::RemainingBytes << 30000000.5 << limit << std::optional<int32_t>(70000000);
        QTest::newRow("more than the limit remaining") << Kind::RemainingBytes << 2.0 * limit << limit
                                                       << std::optional<int32_t>(0);
        QTest::newRow("negative remaining") << Kind::RemainingBytes << -1.0 << limit << std::optional<int32_t>();
        QTest::newRow("0 %") << Kind::RemainingPercent << 0.0 << limit << std::optional<int32_t>(limit);
        QTest::newRow("100 %") << Kind::RemainingPercent << 100.0 << limit << std::optional<int32_t>(0);
        QTest::newRow("12.5 %") << Kind::RemainingPercent << 12.5 << limit << std::optional<int32_t>(87500000);
        QTest::newRow("above 100 %") << Kind::RemainingPercent << 100.5 << limit << std::optional<int32_t>();
        QTest::newRow("% of no limit") << Kind::RemainingPercent << 50.0 << 0 << std::optional<int32_t>();
        QTest::newRow("level") << Kind::LevelBytes << 123456789.9 << limit << std::optional<int32_t>(123456789);
        QTest::newRow("level 0") << Kind::LevelBytes << 0.0 << limit << std::optional<int32_t>(0);
        QTest::newRow("level at the top") << Kind::LevelBytes << 2147483647.0 << limit
                                          << std::optional<int32_t>(2147483647);
        QTest::newRow("level beyond the top") << Kind::LevelBytes << 2147483648.0 << limit << std::optional<int32_t>();
        QTest::newRow("not a number") << Kind::LevelBytes << std::nan("") << limit << std::optional<int32_t>();
    }
    void level()
    {
        QFETCH(Kind, kind);
        QFETCH(double, value);
        QFETCH(int32_t, limit);
        QFETCH(std::optional<int32_t>, expected);
        QCOMPARE(levelFromProvider({kind, value}, limit), expected);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("asLevel");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<double>("value");
        QTest::newRow("bytes") << "5000000" << false << true << Kind::RemainingBytes << 5000000.0;
        QTest::newRow("unit") << " 1.5 GB " << false << true << Kind::RemainingBytes << 1610612736.0;
        QTest::newRow("zero") << "0" << false << true << Kind::RemainingBytes << 0.0;
        QTest::newRow("zero MB") << "0MB" << false << true << Kind::RemainingBytes << 0.0;
        QTest::newRow("percent") << "42%" << false << true << Kind::RemainingPercent << 42.0;
        QTest::newRow("percent with a space") << "42.5 %" << false << true << Kind::RemainingPercent << 42.5;
        QTest::newRow("level") << "60MB" << true << true << Kind::LevelBytes << 62914560.0;
        QTest::newRow("level in percent") << "60%" << true << false << Kind::LevelBytes << 0.0;
        QTest::newRow("negative") << "-5" << false << false << Kind::RemainingBytes << 0.0;
        QTest::newRow("negative percent") << "-5%" << false << false << Kind::RemainingBytes << 0.0;
        QTest::newRow("words") << "half" << false << false << Kind::RemainingBytes << 0.0;
        QTest::newRow("empty") << "" << false << false << Kind::RemainingBytes << 0.0;
        QTest::newRow("two numbers") << "5 6" << false << false << Kind::RemainingBytes << 0.0;
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, asLevel);
        compareFigure(parseProviderFigure(text, asLevel));
    }

    // The figure on the program's socket reads back as it was sent; anything else is refused.
    void socketArgument_data()
    {
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<double>("value");
        QTest::newRow("remaining") << setBucketArgument({Kind::RemainingBytes, 524288000}) << true
                                   << Kind::RemainingBytes << 524288000.0;
        QTest::newRow("percent") << setBucketArgument({Kind::RemainingPercent, 42.5}) << true << Kind::RemainingPercent
                                 << 42.5;
        QTest::newRow("level") << setBucketArgument({Kind::LevelBytes, 0}) << true << Kind::LevelBytes << 0.0;
        QTest::newRow("spaces") << QByteArray("  level   17 ") << true << Kind::LevelBytes << 17.0;
        QTest::newRow("unknown kind") << QByteArray("used 17") << false << Kind::LevelBytes << 0.0;
        QTest::newRow("no number") << QByteArray("level lots") << false << Kind::LevelBytes << 0.0;
        QTest::newRow("no value") << QByteArray("level") << false << Kind::LevelBytes << 0.0;
        QTest::newRow("two values") << QByteArray("level 1 2") << false << Kind::LevelBytes << 0.0;
    }
    void socketArgument()
    {
        QFETCH(QByteArray, argument);
        compareFigure(figureFromSetBucketArgument(argument));
    }

    void drift_data()
    {
        QTest::addColumn<std::vector<BucketCorrection>>("corrections");
        QTest::addColumn<std::optional<double>>("expected");
        QTest::newRow("none") << std::vector<BucketCorrection>{} << std::optional<double>();
        QTest::newRow("one") << std::vector<BucketCorrection>{{0, 9000, 1000}} << std::optional<double>();
        // The first difference grew over a time nobody knows: it counts for nothing.
        QTest::newRow("ahead") << std::vector<BucketCorrection>{{0, 9000, 1000}, {2 * day, 5000, 3000}}
                               << std::optional<double>(1000);
        QTest::newRow("behind") << std::vector<BucketCorrection>{{0, 0, 0}, {day / 2, 3000, 4000}}
                                << std::optional<double>(-2000);
        QTest::newRow("evens out") << std::vector<BucketCorrection>{{0, 0, 0}, {day, 5000, 0}, {3 * day, 0, 5000}}
                                   << std::optional<double>(0);
        QTest::newRow("three") << std::vector<BucketCorrection>{{0, 0, 0}, {day, 4000, 1000}, {4 * day, 9000, 0}}
                               << std::optional<double>(3000);
        QTest::newRow("same second") << std::vector<BucketCorrection>{{day, 5, 0}, {day, 7, 0}}
                                     << std::optional<double>();
    }
    void drift()
    {
        QFETCH(std::vector<BucketCorrection>, corrections);
        QFETCH(std::optional<double>, expected);
        QCOMPARE(driftBytesPerDay(corrections), expected);
    }
};

QTEST_GUILESS_MAIN(TestProviderFigure)
#include "tst_providerfigure.moc"
