#include "framework/settings/RynSettings.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>

#include <memory>

namespace {

QString q(const char* text)
{
    return QString::fromLatin1(text);
}

QVariant stored(const char* key)
{
    return QSettings().value(q(key));
}

// A store with settings of every kind, on an emptied per-user store that the
// test main has moved into a temporary directory.
class StoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings().clear();
        openStore();
    }

    void openStore()
    {
        store = std::make_unique<ryn::RynSettings>();
        store->registerKey(1, q("btps_link_releases"), false);
        store->registerKey(5, q("k"), QVariant());
        store->registerKey(18, q("plot_out_width"), 600);
        store->registerKey(48, q("sr_d"), QVariant());
        store->registerKey(58, q("sr_si"), QVariant());
        store->registerKey(59, q("sample_size_type"), 0);
    }

    std::unique_ptr<ryn::RynSettings> store;
};

} // namespace

TEST_F(StoreTest, ValuesPersistInTheProgramsStoreOutsideTheUsersHome)
{
    const QString path = QSettings().fileName();
    EXPECT_TRUE(path.endsWith(q("RYN/Quorvel.conf"))) << path.toStdString();
    EXPECT_FALSE(path.startsWith(QDir::homePath())) << path.toStdString();
    store->setValue(5, q("0.8"));
    store.reset();
    EXPECT_EQ(QSettings(path, QSettings::IniFormat).value(q("k")), QVariant(q("0.8")));
}

TEST_F(StoreTest, ReadsDefaultsAndWritesOnlyRegisteredKeys)
{
    EXPECT_FALSE(store->value(82).isValid());
    store->setValue(82, 7);
    EXPECT_TRUE(QSettings().allKeys().isEmpty());
    EXPECT_EQ(store->value(18), QVariant(600));
    EXPECT_FALSE(store->value(5).isValid());

    store->storeDefaults();
    EXPECT_EQ(stored("plot_out_width").toInt(), 600);
    EXPECT_FALSE(stored("k").isValid());

    store->storeDirectoryOf(5, q("/srv/studies/report.rtf"));
    EXPECT_EQ(store->stringValue(5), q("/srv/studies"));
    store->keepStoredValue(5);
    store->setValue(18, 800); // kept, and has a default that must not overwrite it
    store->keepStoredValue(18);
    store->setValue(59, 2);
    store->removeStoredValues(false);
    EXPECT_EQ(stored("k"), QVariant(q("/srv/studies")));
    EXPECT_EQ(stored("plot_out_width").toInt(), 800);
    EXPECT_EQ(stored("sample_size_type").toInt(), 0);
    store->removeStoredValues(true);
    EXPECT_EQ(stored("plot_out_width").toInt(), 600);
}

TEST_F(StoreTest, ArrayElementsLiveUnderKeySlashIndex)
{
    QSettings().setValue(q("sr_si/2"), true);
    QCheckBox box;
    store->bindArrayWidget(&box, 58, 2, true);
    EXPECT_TRUE(box.isChecked());
    box.setChecked(false);
    EXPECT_EQ(stored("sr_si/2"), QVariant(false));
    EXPECT_FALSE(stored("sr_si").isValid());

    // Element 0 of setting 1 would be mapped to ArrayStride itself, which is
    // the plain id 1000000 and stores nothing.
    QLineEdit plain;
    QLineEdit element;
    store->bind(&plain, ryn::RynSettings::ArrayStride, q("a"), false);
    store->bind(&element, ryn::RynSettings::ArrayStride + 1, q("b"), false);
    const QStringList keys = QSettings().allKeys();
    EXPECT_TRUE(keys.contains(q("btps_link_releases/1")));
    EXPECT_FALSE(keys.contains(q("btps_link_releases/0")) ||
                 keys.contains(q("btps_link_releases")));
}

TEST_F(StoreTest, BoundWidgetsShowTheStoredValueAndStoreEveryChange)
{
    store->setValue(59, 7);
    QComboBox combo;
    combo.addItems({q("a"), q("b"), q("c")});
    store->bindWidget(&combo, 59, false);
    EXPECT_EQ(combo.currentIndex(), -1);
    combo.setCurrentIndex(1);
    EXPECT_EQ(stored("sample_size_type").toInt(), 1);

    QSpinBox spin;
    spin.setMaximum(5000);
    store->bindWidget(&spin, 18, false);
    EXPECT_EQ(spin.value(), 600);
    spin.setValue(640);
    EXPECT_EQ(stored("plot_out_width").toInt(), 640);

    QLineEdit edit;
    store->bindWidget(&edit, 5, false);
    store->unbindWidget(&edit);
    edit.setText(q("unbound"));
    EXPECT_FALSE(stored("k").isValid());
}

TEST_F(StoreTest, BindingWithDisconnectFirstCutsEarlierConnections)
{
    QLineEdit cut;
    QLineEdit kept;
    int cutCalls = 0;
    int keptCalls = 0;
    QObject::connect(&cut, &QLineEdit::textChanged, [&cutCalls] { ++cutCalls; });
    QObject::connect(&kept, &QLineEdit::textChanged, [&keptCalls] { ++keptCalls; });
    store->bindArrayWidget(&cut, 48, 0, true);
    store->bindArrayWidget(&kept, 48, 1, false);
    cut.setText(q("0.5"));
    kept.setText(q("0.6"));
    EXPECT_EQ(cutCalls, 0);
    EXPECT_EQ(keptCalls, 1);
    EXPECT_EQ(stored("sr_d/0"), QVariant(q("0.5")));
    EXPECT_EQ(stored("sr_d/1"), QVariant(q("0.6")));

    auto* destroyed = new QLineEdit;
    store->bindWidget(destroyed, 5, true);
    delete destroyed;
    EXPECT_EQ(store->boundWidget(5), nullptr);
    store->settingChanged(5);
    EXPECT_FALSE(store->value(5).isValid());
}

TEST_F(StoreTest, GarbageOrUnreadableSettingsFileLeavesTheStoreWorking)
{
    store.reset();
    const QString path = QSettings().fileName();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General\nplot_out_width=abc\nsample_size_type=@Variant(\\0\\0\\0\\x7f\\xff)\n"
               "sr_si\\2=@ByteArray(\nk=@Rect(1 2 x)\n[[[=\n");
    file.write(QByteArray("\0\xff\xfe\x01 k=\x80\n", 10));
    file.close();
    openStore();
    EXPECT_EQ(store->value(18).toInt(), 0);
    QComboBox combo;
    combo.addItem(q("only"));
    store->bindWidget(&combo, 59, true);
    QCheckBox box;
    store->bindArrayWidget(&box, 58, 2, true);
    box.setChecked(!box.isChecked());
    EXPECT_EQ(store->arrayValue(58, 2), QVariant(box.isChecked()));

    store.reset();
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkpath(path)); // a directory where the file should be
    openStore();
    EXPECT_EQ(store->value(18).toInt(), 600);
    store->setValue(5, q("kept in memory"));
    EXPECT_EQ(store->stringValue(5), q("kept in memory"));
    store.reset();
    EXPECT_TRUE(QDir(path).removeRecursively());
}
