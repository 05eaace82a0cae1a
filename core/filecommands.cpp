#include "filecommands.h"
#include "messagetexts.h"

#include "designfile.h"
#include "import.h"
#include "designhistory.h"
#include "mibbridge.h"
#include "moduleinfo.h"
#include "smiv2writer.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <exception>

namespace korvel {

namespace {

// Runs one command; any failure raised on the way ends it with `failure`
// (nothing when empty), shown as an error.
template <typename Steps>
void runCommand(Services &services, const QString &failure, Steps steps)
{
    try {
        steps();
    } catch (const std::exception &) {
        if (!failure.isEmpty())
            services.show(failure, MessageKind::Error);
    }
}

// The last characters are exactly `extension`: case counts, and a name no
// longer than the extension itself never matches.
bool hasExtension(const QString &file, const QString &extension)
{
    return file.size() >= extension.size() && file.endsWith(extension, Qt::CaseSensitive);
}

bool refuseExtension(Services &services, const QString &file, const QString &extension, const QString &message)
{
    if (hasExtension(file, extension))
        return false;
    services.show(message, MessageKind::Warning);
    return true;
}

QString designExtensionMessage()
{
    return texts::mdfExtensionInvalid();
}

QString mibExtensionMessage()
{
    return texts::mibExtensionInvalid();
}

QString notFoundMessage()
{
    return texts::fileNotFound();
}

bool declinesOverwrite(Services &services, const QString &path)
{
    return QFileInfo::exists(path)
           && !services.ask(texts::confirmOverwrite(), texts::saveCaption());
}

// `heading` and one line per item; a long list ends with how many more
// there are.
QString listMessage(QString heading, const QStringList &items)
{
    constexpr qsizetype Shown = 10;
    for (qsizetype i = 0; i < items.size() && i < Shown; ++i)
        heading += texts::smiv2LeftOutItem().arg(items[i]);
    if (items.size() > Shown)
        heading += texts::smiv2LeftOutMore().arg(items.size() - Shown);
    return heading;
}

// The objects an SMIv2 module left out, named in one warning.
QString skippedObjectsMessage(const QList<SkippedObject> &skipped)
{
    QStringList names;
    for (const SkippedObject &object : skipped)
        names.append(object.name);
    return listMessage(texts::smiv2LeftOut(), names);
}

} // namespace

FileCommands::FileCommands(AppState &state, Services &services, QObject *window)
    : m_state(state)
    , m_services(services)
    , m_window(window)
{
}

QString FileCommands::listLoadFailureLine()
{
    return texts::mibReadFailed();
}

QString FileCommands::treeLoadFailureLine()
{
    return texts::mibOpenFailed();
}

QString FileCommands::chooseFile(int16_t mode)
{
    m_state.FileDialogMode = mode;
    const DialogOutcome outcome = m_services.openDialog(ModalDialog::FileOpe, m_window);
    if (outcome == DialogOutcome::Missing || outcome == DialogOutcome::Refused || m_state.SelectedFile.isEmpty())
        return QString();
    return m_state.SelectedFolder + QDir::separator() + m_state.SelectedFile;
}

QString FileCommands::chooseExistingFile(int16_t mode, const QString &extension, const QString &extensionMessage)
{
    const QString path = chooseFile(mode);
    if (path.isEmpty()
        || (!extension.isEmpty() && refuseExtension(m_services, m_state.SelectedFile, extension, extensionMessage)))
        return QString();
    if (!QFileInfo::exists(path)) {
        m_services.show(notFoundMessage(), MessageKind::Warning);
        return QString();
    }
    return path;
}

bool FileCommands::mayDiscardDesign()
{
    if (!designHistory(m_state).isModified())
        return true;
    switch (m_services.show(texts::unsavedChanges(), MessageKind::QuestionWithCancel)) {
    case MessageButton::Yes:
        return saveDesignFile();
    case MessageButton::No:
        return true;
    case MessageButton::Ok:
    case MessageButton::Cancel:
        break;
    }
    return false;
}

void FileCommands::openDesignFile()
{
    const QString failure = texts::designReadFailed();
    runCommand(m_services, failure, [&] {
        if (!mayDiscardDesign())
            return;
        const QString path =
            chooseExistingFile(FileDialogPurpose::OpenDesignFile, QStringLiteral(".mdf"), designExtensionMessage());
        if (path.isEmpty())
            return;
        // The reader leaves the tables untouched when it fails.
        if (!readDesignFile(m_state, path)) {
            if (clearChoiceWhenOpenFails) {
                m_state.SelectedDrive.clear();
                m_state.SelectedFolder.clear();
                m_state.SelectedFile.clear();
            }
            m_services.show(failure, MessageKind::Error);
            return;
        }
        // A side file that cannot be used costs the module information only.
        ModuleInfo info;
        const ModuleInfoStatus module = readModuleInfo(m_state, moduleInfoPath(path), info);
        if (module == ModuleInfoStatus::Read)
            m_state.ModuleInformation = info;
        else
            m_state.ModuleInformation.reset();
        designHistory(m_state).startOver(true);
        m_state.ListLevel = RootSlot;
        if (refresh)
            refresh();
        m_services.designChanged();
        m_services.show(texts::designRead(), MessageKind::Notice,
                        texts::openCaption());
        m_state.CurrentDrive = m_state.SelectedDrive;
        m_state.CurrentFolder = m_state.SelectedFolder;
        m_state.CurrentFile = m_state.SelectedFile;
        if (updateTitle)
            updateTitle();
        if (module == ModuleInfoStatus::Unreadable)
            m_services.show(texts::moduleInfoReset(),
                            MessageKind::Warning);
    });
}

bool FileCommands::saveDesignFile()
{
    const QString failure = texts::designSaveFailed();
    bool saved = false;
    runCommand(m_services, failure, [&] {
        const QString path = chooseFile(FileDialogPurpose::SaveDesignFile);
        if (path.isEmpty() || refuseExtension(m_services, m_state.SelectedFile, QStringLiteral(".mdf"), designExtensionMessage())
            || declinesOverwrite(m_services, path))
            return;
        // The module information goes to its side file. Both files replace
        // theirs only once complete, and the side file is written before the
        // design is replaced, so only a failing final rename can part them.
        QSaveFile side(moduleInfoPath(path));
        const QByteArray image = moduleInfoImage(currentModuleInfo(m_state));
        if (!side.open(QIODevice::WriteOnly) || side.write(image) != image.size() || !writeDesignFile(m_state, path)
            || !side.commit()) {
            m_services.show(failure, MessageKind::Error);
            return;
        }
        saved = true;
        designHistory(m_state).markSaved();
        m_services.show(texts::designSaved(), MessageKind::Notice, texts::saveCaption());
        m_state.CurrentDrive = m_state.SelectedDrive;
        m_state.CurrentFolder = m_state.SelectedFolder;
        m_state.CurrentFile = m_state.SelectedFile;
        if (updateTitle)
            updateTitle();
    });
    return saved;
}

void FileCommands::createFile(const std::function<std::optional<bool>(const QString &path)> &write)
{
    const QString failure = texts::mibCreateFailed();
    runCommand(m_services, failure, [&] {
        const QString path = chooseFile(FileDialogPurpose::CreateMibFile);
        if (path.isEmpty() || refuseExtension(m_services, m_state.SelectedFile, QStringLiteral(".mib"), mibExtensionMessage())
            || declinesOverwrite(m_services, path))
            return;
        const std::optional<bool> written = write(path);
        if (!written)
            return;
        if (*written)
            m_services.show(texts::mibCreated(), MessageKind::Notice);
        else
            m_services.show(failure, MessageKind::Error);
    });
}

void FileCommands::createMibFile()
{
    createFile([this](const QString &path) -> std::optional<bool> {
        const BridgeResult result = korvel::createMibFile(m_services.mibLibrary(), m_state, path);
        if (result == BridgeResult::Unavailable)
            return std::nullopt;
        return result == BridgeResult::Success;
    });
}

void FileCommands::createSmiv2File()
{
    // Named only once the module is written.
    QList<SkippedObject> skipped;
    createFile([this, &skipped](const QString &path) -> std::optional<bool> {
        QList<SkippedObject> left;
        if (!writeSmiv2File(m_state, currentModuleInfo(m_state), path, &left))
            return false;
        skipped = left;
        return true;
    });
    if (!skipped.isEmpty())
        m_services.show(skippedObjectsMessage(skipped), MessageKind::Warning);
}

void FileCommands::editModuleInfo()
{
    const RecordedChange change(m_state);
    runCommand(m_services, texts::moduleInfoChangeFailed(),
               [&] {
                   if (m_services.openDialog(ModalDialog::ModuleInfo, m_window) == DialogOutcome::Accepted)
                       m_services.designChanged();
               });
}

void FileCommands::loadMibFile()
{
    // The load reports its own outcome; an error on the way shows nothing.
    runCommand(m_services, QString(), [&] {
        if (!mayDiscardDesign())
            return;
        const QString path =
            chooseExistingFile(FileDialogPurpose::LoadMibFile, QStringLiteral(".mib"), mibExtensionMessage());
        if (path.isEmpty())
            return;
        switch (korvel::loadMibFile(m_services.mibLibrary(), m_state, path)) {
        case BridgeResult::Success:
            // A module read in is a new design: its module information is the defaults.
            m_state.ModuleInformation.reset();
            // No file holds the design read in yet.
            designHistory(m_state).startOver(false);
            if (refresh)
                refresh();
            m_services.designChanged();
            m_services.show(texts::designRead(), MessageKind::Notice,
                            texts::openCaption());
            break;
        case BridgeResult::Failure:
            m_services.show(loadFailureLine + QLatin1Char('\r') + texts::seeErrorLog(),
                            MessageKind::Warning);
            break;
        case BridgeResult::Unavailable:
            break;
        }
    });
}

void FileCommands::importMibModule()
{
    runCommand(m_services, texts::moduleImportFailed(), [&] {
        if (!mayDiscardDesign())
            return;
        // Real modules come under many names (.txt, .my, none): any file.
        const QString path = chooseExistingFile(FileDialogPurpose::LoadMibFile);
        if (path.isEmpty())
            return;
        // The import replaces the tables only when it succeeds.
        ModuleInfo info;
        const ImportResult result =
            importModule(path, {}, m_state, info, QDir(m_services.programFolder()).filePath(QStringLiteral("mibs")));
        if (!result.imported) {
            m_services.show(texts::moduleNotImported().arg(inShownLanguage(result.refusalJapanese, result.refusal)), MessageKind::Error);
            return;
        }
        m_state.ModuleInformation = info;
        m_state.ListLevel = RootSlot;
        // A new design that no design file holds yet: the start-up name, so
        // the title says so and 保存 asks for one.
        m_state.CurrentFile = QStringLiteral("File");
        designHistory(m_state).startOver(false);
        if (refresh)
            refresh();
        if (updateTitle)
            updateTitle();
        m_services.designChanged();
        const QStringList &notKept = englishShown() ? result.notKept : result.notKeptJapanese;
        if (notKept.isEmpty())
            m_services.show(texts::moduleImported(), MessageKind::Notice, texts::openCaption());
        else
            m_services.show(listMessage(texts::moduleImportedWithout(), notKept), MessageKind::Warning);
    });
}

} // namespace korvel
