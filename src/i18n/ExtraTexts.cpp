#include "i18n/ExtraTexts.h"

#include "i18n/LanguageRes.h"

namespace kyvane {

namespace {

struct Translations
{
    const char16_t* english;
    const char16_t* traditional;
    const char16_t* simplified;
};

Translations translations(ExtraText id)
{
    switch (id) {
    case ExtraText::FoldersPassedOver:
        return {u"Backup folder not found, passed over: %1", u"找不到備份目錄，已略過: %1",
                u"找不到备份目录，已略过: %1"};
    case ExtraText::NoFreeJobName:
        return {u"Too many jobs are waiting: finish or delete some in the queue first",
                u"等待中的工作太多: 請先在佇列中完成或刪除一些",
                u"等待中的工作太多: 请先在伫列中完成或删除一些"};
    case ExtraText::SettingsNotSaved:
        return {u"%1 could not be saved: %2", u"無法儲存 %1: %2", u"无法保存 %1: %2"};
    case ExtraText::BrowseFolders:
        return {u"Browse", u"瀏覽", u"浏览"};
    case ExtraText::FolderCannotBeListed:
        return {u"This folder cannot be opened", u"無法開啟這個資料夾", u"无法打开这个文件夹"};
    case ExtraText::FileNotFound:
        return {u"file not found", u"找不到檔案", u"找不到档案"};
    case ExtraText::FilesPassedOver:
        return {u"Files whose names cannot be backed up, passed over (%1): %2",
                u"檔名無法備份的檔案，已略過 (%1): %2", u"文件名无法备份的文件，已略过 (%1): %2"};
    case ExtraText::LineBreakInItem:
        return {u"an entry holds a line break", u"項目含有換行字元", u"项目含有换行字符"};
    case ExtraText::PathNotAbsolute:
        return {u"not a full path", u"不是完整路徑", u"不是完整路径"};
    case ExtraText::ProgramFolderIsLink:
        return {u"The program folder %1 is a symbolic link. Kyvane does not use it: remove the "
                u"link and start Kyvane again.",
                u"程式資料夾 %1 是符號連結。凱維安不會使用它: 請移除連結後再啟動凱維安。",
                u"程序文件夹 %1 是符号链接。凯维安不会使用它: 请删除链接后再启动凯维安。"};
    case ExtraText::ProgramFolderNotOwned:
        return {u"The program folder %1 belongs to another user. Kyvane does not use it.",
                u"程式資料夾 %1 屬於其他使用者。凱維安不會使用它。",
                u"程序文件夹 %1 属于其他用户。凯维安不会使用它。"};
    case ExtraText::Count:
        break;
    }
    return {u"", u"", u""};
}

} // namespace

QString extraText(ExtraText id)
{
    const Translations texts = translations(id);
    switch (currentLanguage()) {
    case kLanguageTraditionalChinese:
        return QString::fromUtf16(texts.traditional);
    case kLanguageSimplifiedChinese:
        return QString::fromUtf16(texts.simplified);
    default:
        return QString::fromUtf16(texts.english);
    }
}

} // namespace kyvane
