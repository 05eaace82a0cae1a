// Every text the Tree window shows of its own. The texts it shares with the
// object editor (field checks, duplicates, full tables, the item list) are
// the rules' (rulemessages.h), so both windows show the very same words.
#pragma once

#include <QStringView>

namespace korvel::TreeMessage {

// 追加 before any item was shown; 削除 before that or with the root shown.
inline constexpr QStringView SelectFromList = u"リストからオブジェクトを選択してください。";
// 追加 while the object it created last is still unnamed.
inline constexpr QStringView PlaceholderExists = u"「新たなオブジェクト」は既に追加されています。";
// 追加 without a free slot for the object (or for a leaf's attribute); a notice.
inline constexpr QStringView NoFreeObjectSlot = u"これ以上登録できません。";
// 追加 under a table or a leaf.
inline constexpr QStringView CannotAddBelow = u"このオブジェクトの下に新たなオブジェクトは追加できません。";
// The failures of the commands.
inline constexpr QStringView AddFailed = u"追加に失敗しました";
// 削除 asks first.
inline constexpr QStringView ConfirmDelete = u"このオブジェクト以下のツリーをすべて削除しますが、よろしいですか？";
// An entry goes only with its table.
inline constexpr QStringView EntryNotDeletable = u"エントリは削除できません。テーブルから指定してください。";
inline constexpr QStringView DeleteFailed = u"削除に失敗しました";
// 設定 without an object selected in the tree.
inline constexpr QStringView SelectFromTree = u"ツリーからオブジェクトを選択してください。";
// 設定 of a table or entry under another kind option.
inline constexpr QStringView TableKindFixed = u"テーブルのタイプは変更できません。";
// 設定 with the table option for an object that is not the placeholder.
inline constexpr QStringView CannotBecomeTable = u"テーブルのタイプへは変更できません。";
// 設定 turning the placeholder into a table without slots for its entry.
inline constexpr QStringView NoRoomForTable = u"テーブルはこれ以上登録できません";
// "ﾘｽﾄへ追加" with a value above the object limit.
inline constexpr QStringView ItemValueTooLarge = u"項目値は最大1000までです。";

// The name 追加 gives a new object until 設定 names it; only while an
// object keeps it can it become a table.
inline constexpr QStringView PlaceholderName = u"新たなオブジェクト";

} // namespace korvel::TreeMessage
