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
    case ExtraText::FileCannotBeReached:
        return {u"file cannot be reached (its folder is missing or cannot be read)",
                u"無法存取檔案 (目錄不存在或無法讀取)", u"无法存取档案 (目录不存在或无法读取)"};
    case ExtraText::ServerNoLongerConfigured:
        return {u"this server is no longer in Settings", u"這個伺服器已不在設定中",
                u"这个伺服器已不在设定中"};
    case ExtraText::StoreMovedAside:
        return {u"The record of what is backed up was damaged. It was moved aside as %1 and a "
                u"new record was started.",
                u"備份記錄已損壞，已移至 %1 並重新開始記錄。",
                u"备份记录已损坏，已移至 %1 并重新开始记录。"};
    case ExtraText::StoreUnavailable:
        return {u"The record of what is backed up cannot be opened (%1). Backups go on without it.",
                u"無法開啟備份記錄 (%1)。備份仍會進行，但不會記錄。",
                u"无法开启备份记录 (%1)。备份仍会进行，但不会记录。"};
    case ExtraText::KindToday:
        return {u"Today", u"今日", u"今日"};
    case ExtraText::KindFiveDays:
        return {u"5 days", u"五日內", u"五日内"};
    case ExtraText::KindManual:
        return {u"Manual", u"自選", u"自选"};
    case ExtraText::KindUnknown:
        return {u"Job", u"工作", u"工作"};
    case ExtraText::RowFinished:
        return {u"Finished %1", u"完成於 %1", u"完成于 %1"};
    case ExtraText::RowStopped:
        return {u"Stopped", u"已停止", u"已停止"};
    case ExtraText::CountSent:
        return {u"%1 sent", u"已傳送 %1", u"已传送 %1"};
    case ExtraText::CountHeld:
        return {u"%1 already there", u"已存在 %1", u"已存在 %1"};
    case ExtraText::CountFailed:
        return {u"%1 failed", u"失敗 %1", u"失败 %1"};
    case ExtraText::CountRefused:
        return {u"%1 refused", u"被拒 %1", u"被拒 %1"};
    case ExtraText::CountNotFound:
        return {u"%1 not found", u"找不到 %1", u"找不到 %1"};
    case ExtraText::CountWaiting:
        return {u"%1 waiting", u"等待中 %1", u"等待中 %1"};
    case ExtraText::OutcomeSent:
        return {u"sent", u"已傳送", u"已传送"};
    case ExtraText::OutcomeHeld:
        return {u"already on the server", u"伺服器上已有", u"伺服器上已有"};
    case ExtraText::OutcomeFailed:
        return {u"failed", u"失敗", u"失败"};
    case ExtraText::OutcomeRefused:
        return {u"refused by the server", u"伺服器拒收", u"伺服器拒收"};
    case ExtraText::OutcomeNotFound:
        return {u"not found", u"找不到", u"找不到"};
    case ExtraText::OutcomeWaiting:
        return {u"waiting", u"等待中", u"等待中"};
    case ExtraText::ShowFiles:
        return {u"Files", u"檔案", u"档案"};
    case ExtraText::ShowLog:
        return {u"Full log", u"完整記錄", u"完整记录"};
    case ExtraText::Retry:
        return {u"Retry", u"重試", u"重试"};
    case ExtraText::History:
        return {u"History", u"歷史記錄", u"历史记录"};
    case ExtraText::HistoryEmpty:
        return {u"No finished jobs yet", u"尚無完成的工作", u"尚无完成的工作"};
    case ExtraText::LastBackedUp:
        return {u"Last backed up to %1 on %2", u"上次備份到 %1，%2", u"上次备份到 %1，%2"};
    case ExtraText::NotBackedUp:
        return {u"Not backed up yet", u"尚未備份", u"尚未备份"};
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
    case ExtraText::ServerFieldInvalid:
        return {u"The server address can not hold \"|\" or control characters",
                u"伺服器位址不能含有 \"|\" 或控制字元", u"服务器地址不能含有 \"|\" 或控制字符"};
    case ExtraText::PortFieldInvalid:
        return {u"The port must be a number from 1 to 65535", u"連接埠必須是 1 到 65535 的數字",
                u"端口必须是 1 到 65535 的数字"};
    case ExtraText::AccountFieldInvalid:
        return {u"The account can not hold \"|\" or control characters",
                u"帳號不能含有 \"|\" 或控制字元", u"账号不能含有 \"|\" 或控制字符"};
    case ExtraText::FolderAlreadyListed:
        return {u"This folder is backed up already: %1", u"此資料夾已在備份清單中: %1",
                u"此文件夹已在备份列表中: %1"};
    case ExtraText::ExtensionAlreadyListed:
        return {u"This file extension is in the list already: %1", u"此副檔名已在清單中: %1",
                u"此扩展名已在列表中: %1"};
    case ExtraText::FileStopped:
        return {u"stopped", u"已停止", u"已停止"};
    case ExtraText::HintCheckPassword:
        return {u"check the password of %1 in Settings", u"請在設定中檢查 %1 的密碼",
                u"请在设置中检查 %1 的密码"};
    case ExtraText::HintServerFull:
        return {u"%1 is full: make room on it, and the backup goes on at its next start",
                u"%1 已滿: 請騰出空間，備份會在下次開始時繼續",
                u"%1 已满: 请腾出空间，备份会在下次开始时继续"};
    case ExtraText::HintConnectionRefused:
        return {u"nothing answers at %1: is its backup server running, and are the address "
                u"and port right?",
                u"%1 沒有回應: 備份伺服器是否在執行，位址和連接埠是否正確?",
                u"%1 没有响应: 备份服务器是否在运行，地址和端口是否正确?"};
    case ExtraText::FailureNotSeen:
        return {u"A backup failed: open the queue to see why", u"有備份失敗: 請開啟佇列查看原因",
                u"有备份失败: 请打开伫列查看原因"};
    case ExtraText::NothingTicked:
        return {u"No file is ticked: tick the files to back up, or use Select All",
                u"沒有勾選任何檔案: 請勾選要備份的檔案，或使用全選",
                u"没有勾选任何文件: 请勾选要备份的文件，或使用全选"};
    case ExtraText::Back:
        return {u"Back", u"返回", u"返回"};
    case ExtraText::Menu:
        return {u"Menu", u"選單", u"菜单"};
    case ExtraText::GoUp:
        return {u"Up one folder", u"上一層資料夾", u"上一层文件夹"};
    case ExtraText::GoToFolder:
        return {u"Open this folder", u"開啟此資料夾", u"打开此文件夹"};
    case ExtraText::FolderPath:
        return {u"Folder", u"資料夾", u"文件夹"};
    case ExtraText::FolderContents:
        return {u"Folders and files", u"資料夾與檔案", u"文件夹与文件"};
    case ExtraText::SubFolders:
        return {u"Folders", u"資料夾", u"文件夹"};
    case ExtraText::BannerCountsAgain:
        return {u"Counts today's files again", u"重新計算今日檔案", u"重新计算今日档案"};
    case ExtraText::QueueEmptyHint:
        return {u"No backup yet. Tap Backup TODAY or another tile on the home page, or tick "
                u"files in Backup Manually.",
                u"尚無備份。請點選首頁的「備份今日檔案」或其他按鈕，或在「備份自選檔案」中勾選檔案。",
                u"尚无备份。请点选首页的「备份今日档案」或其他按钮，或在「备份自选档案」中勾选文件。"};
    case ExtraText::FoldersEmptyHint:
        return {u"No folder is backed up yet. Tap Add or Browse and choose the folders that hold "
                u"your photos and videos.",
                u"尚未選擇要備份的資料夾。請點選「新增」或「瀏覽」，選擇存放照片和影片的資料夾。",
                u"尚未选择要备份的文件夹。请点选「新增」或「浏览」，选择存放照片和视频的文件夹。"};
    case ExtraText::ExtensionsEmptyHint:
        return {u"No file extension: no file is backed up. Tap Add and type one, such as jpg.",
                u"沒有副檔名: 不會備份任何檔案。請點選「新增」並輸入一個，例如 jpg。",
                u"没有扩展名: 不会备份任何文件。请点选「新增」并输入一个，例如 jpg。"};
    case ExtraText::Yes:
        return {u"Yes", u"是", u"是"};
    case ExtraText::No:
        return {u"No", u"否", u"否"};
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
