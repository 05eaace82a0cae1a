// Every text the program shows in a message box, in one place: the rules'
// and the windows' messages alike, so that the object editor, the Tree
// window's panel and the List window show the very same words. Each is a
// function returning a QString, the place a translation will hook in.
#pragma once

#include <QString>

namespace korvel::texts {
// The editing rules: field checks, add and change, the item list.
// Messages of the field checks.
inline QString nameEmpty() { return QStringLiteral("オブジェクト名を入力してください。"); }
inline QString nameTooLong() { return QStringLiteral("名前は最大256文字までです。"); }
inline QString objectIdNotNumeric() { return QStringLiteral("オブジェクトIDは数値を入力してください。"); }
inline QString objectIdOutOfRange() { return QStringLiteral("オブジェクトIDは1～2147483647です。"); }
inline QString rangeNotNumeric() { return QStringLiteral("範囲指定は数値を入力してください。"); }
inline QString rangeTooLarge() { return QStringLiteral("範囲指定は最大4294967295までです。"); }
inline QString keyOrderNotNumeric() { return QStringLiteral("テーブルキーの順位は数値を入力してください。"); }
inline QString keyOrderOutOfRange() { return QStringLiteral("テーブルキーの順位は1～1000です。"); }
// Messages of the add and change rules.
inline QString parentIsLeaf() { return QStringLiteral("オブジェクトの下に追加できません。"); }
inline QString parentIsTable() { return QStringLiteral("テーブルの下に追加できません。エントリの下に追加してください。"); }
inline QString duplicateName() { return QStringLiteral("オブジェクト名が重複しています。"); }
inline QString duplicateObjectId() { return QStringLiteral("オブジェクトIDが重複しています。"); }
inline QString tableFull() { return QStringLiteral("これ以上登録できません"); }
inline QString kindChanged() { return QStringLiteral("オブジェクトの種類は変更できません。"); }
inline QString objectAdded() { return QStringLiteral("オブジェクトを追加しました。"); }
inline QString objectChanged() { return QStringLiteral("オブジェクトを変更しました。"); }
inline QString commitFailed() { return QStringLiteral("設定に失敗しました"); }
// Messages of the item list and its boxes.
inline QString rangeAndList() { return QStringLiteral("範囲とリストは同時に指定できません。"); }
inline QString itemNameEmpty() { return QStringLiteral("項目名を入力してください"); }
inline QString itemValueEmpty() { return QStringLiteral("項目値を入力してください"); }
inline QString itemValueNotNumeric() { return QStringLiteral("項目値は数値を入力してください。"); }
inline QString duplicateItemName() { return QStringLiteral("リストの名前が重複しています。"); }
inline QString duplicateItemValue() { return QStringLiteral("リストの値が重複しています。"); }
inline QString itemAddFailed() { return QStringLiteral("リストの追加に失敗しました"); }
inline QString itemNameNotChosen() { return QStringLiteral("項目名を選択してください"); }
inline QString itemNotFound() { return QStringLiteral("このエントリは削除できません"); }
inline QString itemRemoveFailed() { return QStringLiteral("リストの削除に失敗しました"); }
// Refusals that keep a design sound where the plain rules would damage it.
// A table's name gets "Table" appended and must still fit its field.
inline QString tableNameTooLong() { return QStringLiteral("テーブル名は最大250文字までです。"); }
// An enumeration needs at least one item to be a valid type.
inline QString enumerationWithoutItems() { return QStringLiteral("リストの項目を追加してください。"); }
// A move under the object itself or below it would cut it off the tree.
inline QString parentInOwnSubtree() { return QStringLiteral("自分自身または配下のオブジェクトを親にすることはできません。"); }
// An entry belongs to its table; without it the table has no row type.
inline QString entryMoved() { return QStringLiteral("エントリはテーブルの下から移動できません。"); }

// The Tree window and its panel.
// 追加 before any item was shown; 削除 before that or with the root shown.
inline QString selectFromList() { return QStringLiteral("リストからオブジェクトを選択してください。"); }
// 追加 while the object it created last is still unnamed.
inline QString placeholderExists() { return QStringLiteral("「新たなオブジェクト」は既に追加されています。"); }
// 追加 without a free slot for the object (or for a leaf's attribute); a notice.
inline QString noFreeObjectSlot() { return QStringLiteral("これ以上登録できません。"); }
// 追加 under a table or a leaf.
inline QString cannotAddBelow() { return QStringLiteral("このオブジェクトの下に新たなオブジェクトは追加できません。"); }
// The failures of the commands.
inline QString addFailed() { return QStringLiteral("追加に失敗しました"); }
// 削除 asks first.
inline QString confirmDelete() { return QStringLiteral("このオブジェクト以下のツリーをすべて削除しますが、よろしいですか？"); }
// An entry goes only with its table.
inline QString entryNotDeletable() { return QStringLiteral("エントリは削除できません。テーブルから指定してください。"); }
inline QString deleteFailed() { return QStringLiteral("削除に失敗しました"); }
// 設定 without an object selected in the tree.
inline QString selectFromTree() { return QStringLiteral("ツリーからオブジェクトを選択してください。"); }
// 設定 of a table or entry under another kind option.
inline QString tableKindFixed() { return QStringLiteral("テーブルのタイプは変更できません。"); }
// 設定 with the table option for an object that is not the placeholder.
inline QString cannotBecomeTable() { return QStringLiteral("テーブルのタイプへは変更できません。"); }
// 設定 turning the placeholder into a table without slots for its entry.
inline QString noRoomForTable() { return QStringLiteral("テーブルはこれ以上登録できません"); }
// "ﾘｽﾄへ追加" with a value above the object limit.
inline QString itemValueTooLarge() { return QStringLiteral("項目値は最大1000までです。"); }
// The name 追加 gives a new object until 設定 names it; only while an
// object keeps it can it become a table.
inline QString placeholderName() { return QStringLiteral("新たなオブジェクト"); }

// The List window.
inline QString changeFailed() { return QStringLiteral("変更に失敗しました"); }

// The file commands of both main windows.
inline QString mdfExtensionInvalid() { return QStringLiteral("拡張子(.mdf)がついていないか無効です。"); }
inline QString mibExtensionInvalid() { return QStringLiteral("拡張子(.mib)がついていないか無効です。"); }
inline QString fileNotFound() { return QStringLiteral("ファイルがみつかりません。"); }
inline QString confirmOverwrite() { return QStringLiteral("元のファイルが上書きされますが、よろしいですか？"); }
inline QString saveCaption() { return QStringLiteral("保存の確認"); }
inline QString mibReadFailed() { return QStringLiteral("MIBファイルの読み込みに失敗しました。"); }
inline QString mibOpenFailed() { return QStringLiteral("MIBファイルのオープンに失敗しました。"); }
inline QString designReadFailed() { return QStringLiteral("ファイルの読み込みに失敗しました"); }
inline QString designRead() { return QStringLiteral("変数に読み込みました。"); }
inline QString openCaption() { return QStringLiteral("ファイルオープンの確認"); }
inline QString designSaveFailed() { return QStringLiteral("ファイルの保存に失敗しました"); }
inline QString designSaved() { return QStringLiteral("ファイルに保存しました。"); }
inline QString mibCreateFailed() { return QStringLiteral("MIBファイルの作成に失敗しました"); }
inline QString mibCreated() { return QStringLiteral("MIBファイルを作成しました。"); }
inline QString seeErrorLog() { return QStringLiteral("詳細は error.log を参照してください。"); }
inline QString moduleInfoReset() { return QStringLiteral("モジュール情報を読み込めませんでした。初期値に戻しました。"); }
inline QString moduleInfoChangeFailed() { return QStringLiteral("モジュール情報の変更に失敗しました"); }
inline QString smiv2LeftOut() { return QStringLiteral("次のオブジェクトはSMIv2のMIBファイルに含まれていません。"); }
inline QString smiv2LeftOutItem() { return QStringLiteral("\n・%1"); }
inline QString unsavedChanges() { return QStringLiteral("変更が保存されていません。保存しますか？"); }
inline QString notFound() { return QStringLiteral("見つかりません。"); }
inline QString findCaption() { return QStringLiteral("検索"); }
inline QString findPrompt() { return QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ名の一部またはOID:"); }
inline QString smiv2LeftOutMore() { return QStringLiteral("\nほか%1個"); }

// The file dialog and the about box.
inline QString driveNotUsable() { return QStringLiteral("ドライブが選択できません。"); }
inline QString pathTooLong() { return QStringLiteral("ファイル名（パス名も含む）は255文字までです。"); }
inline QString warningCaption() { return QStringLiteral("警告メッセージ"); }
inline QString chooseFile() { return QStringLiteral("ファイルを選択してください。"); }
inline QString fileOperationFailed() { return QStringLiteral("ファイル操作に失敗しました。"); }
inline QString systemInformationUnavailable() { return QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"); }

} // namespace korvel::texts
