// Every text the program shows in a message box, in one place: the rules'
// and the windows' messages alike, so that the object editor, the Tree
// window's panel and the List window show the very same words. Each is a
// function returning a QString in the language chosen for this run.
#pragma once

#include "translated.h"

#include <QString>

namespace korvel::texts {
// The editing rules: field checks, add and change, the item list.
// Messages of the field checks.
inline QString nameEmpty() { return translated("オブジェクト名を入力してください。"); }
inline QString nameTooLong() { return translated("名前は最大256文字までです。"); }
inline QString objectIdNotNumeric() { return translated("オブジェクトIDは数値を入力してください。"); }
inline QString objectIdOutOfRange() { return translated("オブジェクトIDは1～2147483647です。"); }
inline QString rangeNotNumeric() { return translated("範囲指定は数値を入力してください。"); }
inline QString rangeTooLarge() { return translated("範囲指定は最大4294967295までです。"); }
inline QString keyOrderNotNumeric() { return translated("テーブルキーの順位は数値を入力してください。"); }
inline QString keyOrderOutOfRange() { return translated("テーブルキーの順位は1～1000です。"); }
// Messages of the add and change rules.
inline QString parentIsLeaf() { return translated("オブジェクトの下に追加できません。"); }
inline QString parentIsTable() { return translated("テーブルの下に追加できません。エントリの下に追加してください。"); }
inline QString duplicateName() { return translated("オブジェクト名が重複しています。"); }
inline QString duplicateObjectId() { return translated("オブジェクトIDが重複しています。"); }
inline QString tableFull() { return translated("これ以上登録できません"); }
inline QString kindChanged() { return translated("オブジェクトの種類は変更できません。"); }
inline QString objectAdded() { return translated("オブジェクトを追加しました。"); }
inline QString objectChanged() { return translated("オブジェクトを変更しました。"); }
inline QString commitFailed() { return translated("設定に失敗しました"); }
// Messages of the item list and its boxes.
inline QString rangeAndList() { return translated("範囲とリストは同時に指定できません。"); }
inline QString itemNameEmpty() { return translated("項目名を入力してください"); }
inline QString itemValueEmpty() { return translated("項目値を入力してください"); }
inline QString itemValueNotNumeric() { return translated("項目値は数値を入力してください。"); }
inline QString duplicateItemName() { return translated("リストの名前が重複しています。"); }
inline QString duplicateItemValue() { return translated("リストの値が重複しています。"); }
inline QString itemAddFailed() { return translated("リストの追加に失敗しました"); }
inline QString itemNameNotChosen() { return translated("項目名を選択してください"); }
inline QString itemNotFound() { return translated("このエントリは削除できません"); }
inline QString itemRemoveFailed() { return translated("リストの削除に失敗しました"); }
// Refusals that keep a design sound where the plain rules would damage it.
// A table's name gets "Table" appended and must still fit its field.
inline QString tableNameTooLong() { return translated("テーブル名は最大250文字までです。"); }
// An enumeration needs at least one item to be a valid type.
inline QString enumerationWithoutItems() { return translated("リストの項目を追加してください。"); }
// A move under the object itself or below it would cut it off the tree.
inline QString parentInOwnSubtree() { return translated("自分自身または配下のオブジェクトを親にすることはできません。"); }
// An entry belongs to its table; without it the table has no row type.
inline QString entryMoved() { return translated("エントリはテーブルの下から移動できません。"); }

// The Tree window and its panel.
// 追加 before any item was shown; 削除 before that or with the root shown.
inline QString selectFromList() { return translated("リストからオブジェクトを選択してください。"); }
// 追加 while the object it created last is still unnamed.
inline QString placeholderExists() { return translated("「新たなオブジェクト」は既に追加されています。"); }
// 追加 without a free slot for the object (or for a leaf's attribute); a notice.
inline QString noFreeObjectSlot() { return translated("これ以上登録できません。"); }
// 追加 under a table or a leaf.
inline QString cannotAddBelow() { return translated("このオブジェクトの下に新たなオブジェクトは追加できません。"); }
// The failures of the commands.
inline QString addFailed() { return translated("追加に失敗しました"); }
// 削除 asks first.
inline QString confirmDelete() { return translated("このオブジェクト以下のツリーをすべて削除しますが、よろしいですか？"); }
// An entry goes only with its table.
inline QString entryNotDeletable() { return translated("エントリは削除できません。テーブルから指定してください。"); }
inline QString deleteFailed() { return translated("削除に失敗しました"); }
// 設定 without an object selected in the tree.
inline QString selectFromTree() { return translated("ツリーからオブジェクトを選択してください。"); }
// 設定 of a table or entry under another kind option.
inline QString tableKindFixed() { return translated("テーブルのタイプは変更できません。"); }
// 設定 with the table option for an object that is not the placeholder.
inline QString cannotBecomeTable() { return translated("テーブルのタイプへは変更できません。"); }
// 設定 turning the placeholder into a table without slots for its entry.
inline QString noRoomForTable() { return translated("テーブルはこれ以上登録できません"); }
// "ﾘｽﾄへ追加" with a value above the object limit.
inline QString itemValueTooLarge() { return translated("項目値は最大1000までです。"); }
// The name 追加 gives a new object until 設定 names it; only while an
// object keeps it can it become a table.
inline QString placeholderName() { return translated("新たなオブジェクト"); }

// The List window.
inline QString changeFailed() { return translated("変更に失敗しました"); }

// The file commands of both main windows.
inline QString mdfExtensionInvalid() { return translated("拡張子(.mdf)がついていないか無効です。"); }
inline QString mibExtensionInvalid() { return translated("拡張子(.mib)がついていないか無効です。"); }
inline QString fileNotFound() { return translated("ファイルがみつかりません。"); }
inline QString confirmOverwrite() { return translated("元のファイルが上書きされますが、よろしいですか？"); }
inline QString saveCaption() { return translated("保存の確認"); }
inline QString mibReadFailed() { return translated("MIBファイルの読み込みに失敗しました。"); }
inline QString mibOpenFailed() { return translated("MIBファイルのオープンに失敗しました。"); }
inline QString designReadFailed() { return translated("ファイルの読み込みに失敗しました"); }
inline QString designRead() { return translated("変数に読み込みました。"); }
inline QString openCaption() { return translated("ファイルオープンの確認"); }
inline QString designSaveFailed() { return translated("ファイルの保存に失敗しました"); }
inline QString designSaved() { return translated("ファイルに保存しました。"); }
inline QString mibCreateFailed() { return translated("MIBファイルの作成に失敗しました"); }
inline QString mibCreated() { return translated("MIBファイルを作成しました。"); }
inline QString seeErrorLog() { return translated("詳細は error.log を参照してください。"); }
inline QString moduleInfoReset() { return translated("モジュール情報を読み込めませんでした。初期値に戻しました。"); }
// The module information dialog.
inline QString revisionDateInvalid() { return translated("改版の日時は「2026-12-07 09:30」の形で入力してください。"); }
inline QString chooseRevision() { return translated("削除する改版を選択してください。"); }
inline QString moduleNameEmpty() { return translated("モジュール名を入力してください。"); }
inline QString moduleNameInvalid() { return translated("モジュール名は英大文字で始まる英数字とハイフンで入力してください。"); }
inline QString identityInvalid() { return translated("識別子は英小文字で始まる英数字とハイフンで入力してください。"); }
inline QString identityTaken() { return translated("識別子が同じ名前のオブジェクトがあります。"); }
inline QString subIdOutOfRange() { return translated("サブ識別子は1～2147483647です。"); }
inline QString subIdTaken() { return translated("このサブ識別子は親オブジェクトの下で既に使われています。"); }
inline QString lastUpdatedInvalid() { return translated("最終更新の日時は「2026-12-07 09:30」の形で入力してください。"); }
inline QString moduleInfoChangeFailed() { return translated("モジュール情報の変更に失敗しました"); }
inline QString smiv2LeftOut() { return translated("次のオブジェクトはSMIv2のMIBファイルに含まれていません。"); }
inline QString smiv2LeftOutItem() { return translated("\n・%1"); }
inline QString smiv2LeftOutMore() { return translated("\nほか%1個"); }

// Start-up, when another instance holds the lock.
inline QString alreadyRunning() { return translated("Korvelは既に起動されています。"); }
// MIBﾓｼﾞｭｰﾙのｲﾝﾎﾟｰﾄ: the outcome; a refusal carries the reason after a line break.
inline QString moduleImported() { return translated("MIBモジュールをインポートしました。"); }
inline QString moduleImportedWithout() { return translated("MIBモジュールをインポートしました。次の定義は取り込めませんでした。"); }
inline QString moduleNotImported() { return translated("MIBモジュールをインポートできませんでした。\n%1"); }
inline QString moduleImportFailed() { return translated("MIBモジュールのインポートに失敗しました"); }

// The design check's window.
inline QString checkTitle() { return translated("Korvel （デザインチェック）"); }
inline QString checkNothingFound() { return translated("問題は見つかりませんでした。"); }
inline QString checkError() { return translated("エラー"); }
inline QString checkWarning() { return translated("警告"); }
inline QString checkCount() { return translated("エラー %1件、警告 %2件"); }
// The unsaved-changes question, and 検索.
inline QString unsavedChanges() { return translated("変更が保存されていません。保存しますか？"); }
inline QString notFound() { return translated("見つかりません。"); }
inline QString findCaption() { return translated("検索"); }
inline QString findPrompt() { return translated("ｵﾌﾞｼﾞｪｸﾄ名の一部またはOID:"); }

// The file dialog and the about box.
inline QString driveNotUsable() { return translated("ドライブが選択できません。"); }
inline QString pathTooLong() { return translated("ファイル名（パス名も含む）は255文字までです。"); }
// The captions of a refusal and of a failure.
inline QString cautionCaption() { return translated("注意メッセージ"); }
inline QString warningCaption() { return translated("警告メッセージ"); }
inline QString chooseFile() { return translated("ファイルを選択してください。"); }
inline QString fileOperationFailed() { return translated("ファイル操作に失敗しました。"); }
inline QString systemInformationUnavailable() { return translated("現時点ではｼｽﾃﾑ情報を使用できません"); }

} // namespace korvel::texts
