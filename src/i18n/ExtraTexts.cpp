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
