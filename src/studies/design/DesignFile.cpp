#include "studies/design/DesignFile.h"

#include "forms/core/ReleaseRecaptureInputs.h"
#include "framework/files/SaveFile.h"
#include "studies/design/DuplicateKey.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace DesignFile {

namespace {

using ReleaseRecaptureInputs::captureOwner;
using ReleaseRecaptureInputs::survivalOwner;

// The entries of a design file and of its options.
const QString designEntry = QStringLiteral("design");
const QString reachesEntry = QStringLiteral("reaches");
const QString inputsEntry = QStringLiteral("inputs");
const QString switchesEntry = QStringLiteral("switches");
const QString sharedEntry = QStringLiteral("shared");
const QString optionsEntry = QStringLiteral("options");
const QString replicatesEnabledOption = QStringLiteral("replicatesEnabled");
const QString replicatesOption = QStringLiteral("replicates");
const QString naturalVarianceOption = QStringLiteral("naturalVariance");
const QString replicateParameterOption = QStringLiteral("replicateParameter");
const QString totalSurvivalOption = QStringLiteral("totalSurvival");
const QString precisionEstOption = QStringLiteral("precisionEst");
const QString precisionErrOption = QStringLiteral("precisionErr");
// The test whose power the reports show.
const QString nullValuesOption = QStringLiteral("nullValues");
const QString nullValueOption = QStringLiteral("nullValue");
const QString alphaOption = QStringLiteral("alpha");
const QString sidedOption = QStringLiteral("sided");

// The replicate count of the run-mode dialog, and the decimals a report can
// show of a double.
constexpr int maximumReplicates = 99;
constexpr int maximumPrecision = 17;

// The first problem of a file, thrown from where it is found to read().
struct Refusal
{
    QString message;
};

[[noreturn]] void refuse(const QString& message)
{
    throw Refusal{message};
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// "a, b and c"
QString listed(const QStringList& items)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           items.last();
}

// "line 3, column 15" of a byte offset into text, columns counted in
// characters.
QString position(const QByteArray& text, int offset)
{
    const QByteArray before = text.left(qBound(0, offset, text.size()));
    const int line = before.count('\n') + 1;
    const int column = QString::fromUtf8(before.mid(before.lastIndexOf('\n') + 1)).size() + 1;
    return QStringLiteral("line %1, column %2").arg(line).arg(column);
}

// A number in the window's syntax: without exponent, with the fewest digits
// that read back as the same double.
QString numberText(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

// Whether text is made of the characters of a field, with at most colons
// colons (any number when negative).
bool typeable(const QString& text, int colons)
{
    return std::all_of(text.begin(), text.end(), fieldrules::isFieldCharacter) &&
           (colons < 0 || text.count(QLatin1Char(':')) <= colons);
}

int wholeNumber(const QJsonValue& value, const QString& what, int low, int high)
{
    const double v = value.toDouble(std::nan(""));
    if (!value.isDouble() || v != std::floor(v) || v < low || v > high)
        refuse(
            QStringLiteral("%1 must be a whole number from %2 to %3").arg(what).arg(low).arg(high));
    return static_cast<int>(v);
}

bool boolean(const QJsonValue& value, const QString& what)
{
    if (!value.isBool())
        refuse(what + QStringLiteral(" must be true or false"));
    return value.toBool();
}

QJsonObject object(const QJsonValue& value, const QString& what)
{
    if (!value.isObject())
        refuse(what + QStringLiteral(" must be an object"));
    return value.toObject();
}

// A field's text from a file: a number, or a text the field could hold,
// made of the characters the window lets in with at most one colon.
QString fieldText(const QJsonValue& value, const QString& key)
{
    const QString text = value.isDouble() ? numberText(value.toDouble()) : value.toString();
    if ((!value.isString() && !value.isDouble()) || !typeable(text, -1))
        refuse(quoted(key) + QStringLiteral(" must be a number, or a text of digits and \".\" "
                                            "with one \":\" for a range"));
    if (!typeable(text, 1))
        refuse(QStringLiteral("Range already set for ") + key);
    return text;
}

void checkEntries(const QJsonObject& object, const QStringList& allowed, const QString& where,
                  const QString& kind)
{
    for (const QString& key : object.keys()) {
        if (!allowed.contains(key))
            refuse(QStringLiteral("Unknown %1 %2 in %3; it has %4")
                       .arg(kind, quoted(key), where, listed(allowed)));
    }
}

void readSwitches(const QJsonObject& file, const DesignInfo& info, StudyInputs& inputs)
{
    if (!file.contains(switchesEntry))
        return;
    const QJsonObject switches = object(file.value(switchesEntry), quoted(switchesEntry));
    const QString where = QStringLiteral("the switches of a %1 design").arg(info.name);
    for (const QString& name : switches.keys()) {
        if (!inputs.switches.contains(name))
            refuse(inputs.switches.isEmpty()
                       ? QStringLiteral("Unknown switch %1: a %2 design has no switches")
                             .arg(quoted(name), info.name)
                       : QStringLiteral("Unknown switch %1 in %2; it has %3")
                             .arg(quoted(name), where, listed(inputs.switches.keys())));
        inputs.switches[name] = boolean(switches.value(name), quoted(name));
    }
}

// "S3": "S1" makes reach panel 2 use the survival of panel 0, as choosing S1
// in its combo does; "S3": "S3" is the panel's own parameter.
void readSharing(const QJsonObject& file, const DesignInfo& info, StudyInputs& inputs)
{
    if (!file.contains(sharedEntry))
        return;
    const QJsonObject shared = object(file.value(sharedEntry), quoted(sharedEntry));
    const int panels = inputs.choices.value(survivalOwner).size();
    for (const QString& key : shared.keys()) {
        QString (*keyOf)(int) = nullptr;
        int panel = -1;
        for (int k = 0; k < panels && panel < 0; ++k) {
            if (key == info.survivalKey(k) || key == info.captureKey(k)) {
                panel = k;
                keyOf = key == info.survivalKey(k) ? info.survivalKey : info.captureKey;
            }
        }
        if (panel < 0)
            refuse(
                QStringLiteral("Unknown parameter %1 in %2: only a reach's survival or detection "
                               "parameter can be shared")
                    .arg(quoted(key), quoted(sharedEntry)));
        const QStringList choices = ReleaseRecaptureInputs::panelKeys(panel + 1, keyOf);
        const QString owner = shared.value(key).toString();
        if (!shared.value(key).isString() || !choices.contains(owner))
            refuse(QStringLiteral("%1 can share only %2")
                       .arg(quoted(key), listed(choices.mid(0, panel) << key)));
        inputs.choices[keyOf == info.survivalKey ? survivalOwner : captureOwner][panel] =
            choices.indexOf(owner);
    }
}

void readInputs(const QJsonObject& file, const DesignInfo& info, StudyInputs& inputs)
{
    if (!file.contains(inputsEntry))
        refuse(QStringLiteral("Missing entry ") + quoted(inputsEntry));
    const QJsonObject given = object(file.value(inputsEntry), quoted(inputsEntry));
    for (const QString& key : given.keys()) {
        if (!inputs.hasField(key))
            refuse(QStringLiteral("Unknown parameter %1 in a %2 design%3")
                       .arg(quoted(key), info.name,
                            info.hasReaches() ? QStringLiteral(" of %1 reaches").arg(inputs.reaches)
                                              : QString()));
        inputs.field(key).text = fieldText(given.value(key), key);
    }
    QString holder;
    for (const InputField& field : inputs.fields()) {
        if (!field.enabled)
            continue;
        if (!given.contains(field.key))
            refuse(QStringLiteral("Missing input for ") + quoted(field.key));
        if (!field.text.contains(QLatin1Char(':')))
            continue;
        if (!holder.isNull())
            refuse(QStringLiteral("Range already set for %1: %2 cannot hold a second range")
                       .arg(inputs.field(holder).name, quoted(field.key)));
        holder = field.key;
    }
    inputs.setRangeHolder(holder);
}

QString varianceText(const QJsonValue& value)
{
    const QString text = value.isDouble() ? numberText(value.toDouble()) : value.toString();
    if ((!value.isString() && !value.isDouble()) || !typeable(text, 0))
        refuse(quoted(naturalVarianceOption) +
               QStringLiteral(" must be a number, or a text of digits and \".\""));
    return text;
}

double finiteNumber(const QJsonValue& value, const QString& what)
{
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        refuse(what + QStringLiteral(" must be a number"));
    return value.toDouble();
}

// The test of the power the reports show: null values by quantity, one for
// every quantity, the level and the sidedness.
void readEffect(const QJsonObject& given, EffectTest* test)
{
    if (given.contains(nullValuesOption)) {
        const QJsonObject values = object(given.value(nullValuesOption), quoted(nullValuesOption));
        for (auto value = values.begin(); value != values.end(); ++value)
            test->nullValues.insert(value.key(),
                                    finiteNumber(value.value(), QStringLiteral("The null value "
                                                                               "of ") +
                                                                    quoted(value.key())));
    }
    if (given.contains(nullValueOption))
        test->commonNull = finiteNumber(given.value(nullValueOption), quoted(nullValueOption));
    if (given.contains(alphaOption)) {
        test->alpha = finiteNumber(given.value(alphaOption), quoted(alphaOption));
        if (!(test->alpha > 0) || !(test->alpha < 1))
            refuse(quoted(alphaOption) + QStringLiteral(" must lie between 0 and 1"));
    }
    if (given.contains(sidedOption)) {
        const QString sided = given.value(sidedOption).toString();
        if (sided != QStringLiteral("one") && sided != QStringLiteral("two"))
            refuse(quoted(sidedOption) + QStringLiteral(" must be \"one\" or \"two\""));
        test->twoSided = sided == QStringLiteral("two");
    }
}

DesignOptions readOptions(const QJsonObject& file, const DesignInfo& info)
{
    DesignOptions options;
    if (!file.contains(optionsEntry))
        return options;
    const QJsonObject given = object(file.value(optionsEntry), quoted(optionsEntry));
    QStringList allowed;
    if (info.hasReaches())
        allowed << replicatesEnabledOption << replicatesOption << naturalVarianceOption
                << replicateParameterOption;
    if (info.kind == Design::SingleRelease)
        allowed << totalSurvivalOption;
    allowed << precisionEstOption << precisionErrOption << nullValuesOption << nullValueOption
            << alphaOption << sidedOption;
    checkEntries(given, allowed, QStringLiteral("the options of a %1 design").arg(info.name),
                 QStringLiteral("option"));

    const auto has = [&given](const QString& name) { return given.contains(name); };
    if (has(replicatesEnabledOption))
        options.replicatesEnabled =
            boolean(given.value(replicatesEnabledOption), quoted(replicatesEnabledOption));
    if (has(replicatesOption))
        options.replicateCount = wholeNumber(given.value(replicatesOption),
                                             quoted(replicatesOption), 1, maximumReplicates);
    if (has(naturalVarianceOption))
        options.naturalVariance = varianceText(given.value(naturalVarianceOption));
    if (has(replicateParameterOption)) {
        if (!given.value(replicateParameterOption).isString())
            refuse(quoted(replicateParameterOption) +
                   QStringLiteral(" must be a text naming a parameter"));
        options.replicateParameter = given.value(replicateParameterOption).toString();
    }
    if (has(totalSurvivalOption))
        options.totalSurvival =
            boolean(given.value(totalSurvivalOption), quoted(totalSurvivalOption));
    if (has(precisionEstOption))
        options.precisionEst = wholeNumber(given.value(precisionEstOption),
                                           quoted(precisionEstOption), 0, maximumPrecision);
    if (has(precisionErrOption))
        options.precisionErr = wholeNumber(given.value(precisionErrOption),
                                           quoted(precisionErrOption), 0, maximumPrecision);
    readEffect(given, &options.effect);
    return options;
}

Design readDesign(const QJsonObject& file)
{
    if (!file.contains(designEntry))
        refuse(QStringLiteral("Missing entry %1, one of %2")
                   .arg(quoted(designEntry), designs::nameList()));
    const QJsonValue name = file.value(designEntry);
    const DesignInfo* info = designs::named(name.toString());
    if (!info)
        refuse(QStringLiteral("Unknown design %1: the designs are %2")
                   .arg(name.isString() ? quoted(name.toString()) : QStringLiteral("value"),
                        designs::nameList()));

    QStringList entries = {designEntry};
    if (info->hasReaches())
        entries << reachesEntry;
    entries << switchesEntry;
    if (info->hasReaches())
        entries << sharedEntry;
    entries << inputsEntry << optionsEntry;
    checkEntries(file, entries, QStringLiteral("a %1 design").arg(info->name),
                 QStringLiteral("entry"));

    int reaches = 0;
    if (info->hasReaches()) {
        if (!file.contains(reachesEntry))
            refuse(QStringLiteral("Missing entry ") + quoted(reachesEntry));
        reaches = wholeNumber(file.value(reachesEntry), quoted(reachesEntry), info->minimumReaches,
                              ReleaseRecaptureInputs::maximumReaches);
    }

    Design design;
    design.kind = info->kind;
    design.inputs = info->blankInputs(reaches);
    readSwitches(file, *info, design.inputs);
    readSharing(file, *info, design.inputs);
    info->applySwitches(design.inputs);
    readInputs(file, *info, design.inputs);
    design.options = readOptions(file, *info);
    return design;
}

// Writing: JSON values in the form's order, which a JSON object would sort.
QString jsonString(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString jsonBool(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

using Members = QList<QPair<QString, QString>>;

// The members, each on its own line, indented one level below indent.
QString jsonObject(const Members& members, const QString& indent)
{
    if (members.isEmpty())
        return QStringLiteral("{}");
    QStringList lines;
    for (const auto& [name, value] : members)
        lines << indent + QStringLiteral("  ") + jsonString(name) + QStringLiteral(": ") + value;
    return QStringLiteral("{\n") + lines.join(QStringLiteral(",\n")) + QLatin1Char('\n') + indent +
           QLatin1Char('}');
}

} // namespace

bool read(const QByteArray& text, Design* design, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    try {
        if (parseError.error != QJsonParseError::NoError)
            refuse(QStringLiteral("Invalid JSON at %1: %2")
                       .arg(position(text, parseError.offset), parseError.errorString()));
        if (!document.isObject())
            refuse(QStringLiteral("A design file holds one JSON object"));
        const DuplicateKey duplicate = DuplicateKey::firstIn(text);
        if (duplicate.offset >= 0)
            refuse(QStringLiteral("Duplicate key \"%1\" at %2: a key may be given only once")
                       .arg(duplicate.key, position(text, duplicate.offset)));
        *design = readDesign(document.object());
        return true;
    } catch (const Refusal& refusal) {
        *error = refusal.message;
        return false;
    }
}

bool readFile(const QString& path, Design* design, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read the file: ") + file.errorString();
        return false;
    }
    if (file.size() > maximumSize) {
        *error = QStringLiteral("The file is too large for a design file");
        return false;
    }
    const QByteArray text = file.read(maximumSize + 1);
    if (file.error() != QFileDevice::NoError || text.size() > maximumSize) {
        *error = QStringLiteral("Cannot read the file: ") + file.errorString();
        return false;
    }
    return read(text, design, error);
}

QByteArray write(const Design& design)
{
    const DesignInfo& info = designs::info(design.kind);
    const StudyInputs& inputs = design.inputs;
    Members file = {{designEntry, jsonString(info.name)}};
    if (info.hasReaches())
        file.append({reachesEntry, QString::number(inputs.reaches)});

    const StudyInputs blank = info.blankInputs(inputs.reaches);
    Members switches;
    for (const QString& name : blank.switches.keys())
        switches.append({name, jsonBool(inputs.switches.value(name, blank.switches.value(name)))});
    if (!switches.isEmpty())
        file.append({switchesEntry, jsonObject(switches, QStringLiteral("  "))});

    QSet<QString> sharedKeys;
    if (info.hasReaches()) {
        Members shared;
        const int panels = blank.choices.value(survivalOwner).size();
        for (int k = 0; k < panels; ++k) {
            for (const auto& [choice, keyOf] : {qMakePair(survivalOwner, info.survivalKey),
                                                qMakePair(captureOwner, info.captureKey)}) {
                const int owner = ReleaseRecaptureInputs::choiceOf(inputs, choice, k);
                if (owner != k) {
                    shared.append({keyOf(k), jsonString(keyOf(owner))});
                    sharedKeys.insert(keyOf(k));
                }
            }
        }
        file.append({sharedEntry, jsonObject(shared, QStringLiteral("  "))});
    }

    Members fields;
    for (const InputField& field : inputs.fields()) {
        if (!sharedKeys.contains(field.key))
            fields.append({field.key, jsonString(field.text)});
    }
    file.append({inputsEntry, jsonObject(fields, QStringLiteral("  "))});

    const DesignOptions& options = design.options;
    Members optionMembers;
    if (info.hasReaches())
        optionMembers << qMakePair(replicatesEnabledOption, jsonBool(options.replicatesEnabled))
                      << qMakePair(replicatesOption, QString::number(options.replicateCount))
                      << qMakePair(naturalVarianceOption, jsonString(options.naturalVariance))
                      << qMakePair(replicateParameterOption,
                                   jsonString(options.replicateParameter));
    if (info.kind == Design::SingleRelease)
        optionMembers << qMakePair(totalSurvivalOption, jsonBool(options.totalSurvival));
    optionMembers << qMakePair(precisionEstOption, QString::number(options.precisionEst))
                  << qMakePair(precisionErrOption, QString::number(options.precisionErr));
    // The test only when it differs from the defaults, which files without
    // it take.
    const EffectTest& test = options.effect;
    if (!test.isDefault()) {
        Members nullMembers;
        for (auto value = test.nullValues.begin(); value != test.nullValues.end(); ++value)
            nullMembers.append({value.key(), numberText(value.value())});
        optionMembers << qMakePair(nullValuesOption,
                                   jsonObject(nullMembers, QStringLiteral("    ")));
        if (!std::isnan(test.commonNull))
            optionMembers << qMakePair(nullValueOption, numberText(test.commonNull));
        optionMembers << qMakePair(alphaOption, numberText(test.alpha))
                      << qMakePair(sidedOption, jsonString(test.twoSided ? QStringLiteral("two")
                                                                         : QStringLiteral("one")));
    }
    file.append({optionsEntry, jsonObject(optionMembers, QStringLiteral("  "))});
    return (jsonObject(file, QString()) + QLatin1Char('\n')).toUtf8();
}

bool writeFile(const QString& path, const Design& design, QString* error)
{
    // A test typed in the window that cannot be read has no numbers a file
    // could hold; writing the defaults instead would lose it unsaid.
    const QString untestable = design.options.effect.error();
    if (!untestable.isNull()) {
        *error = QStringLiteral("The test of the effect cannot be saved: ") + untestable;
        return false;
    }
    const QByteArray text = write(design);
    ryn::SaveFailure failure;
    if (ryn::saveFile(
            path, QIODevice::NotOpen,
            [&text](QIODevice& device) {
                return device.write(text) == text.size() ? QString() : device.errorString();
            },
            &failure))
        return true;
    *error = QStringLiteral("Cannot write the file: ") + failure.reason;
    return false;
}

} // namespace DesignFile
