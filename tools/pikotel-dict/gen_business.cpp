#include "gen_business.h"

#include "common/textfold.h"
#include "search/industry/industryvocab.h"

#include <QStringList>

#include <algorithm>
#include <map>

namespace pikotel::gen {

namespace {

// industry | pattern | K kept, D decoy, P plain | city need (S city or ward, M town or
// village) | name | reading. Slots: {S} surname, {T} town, {C} municipality, {B} brand
// word, {J} temple, {K} place named after a temple, {U} university. Country clubs lie out of
// town, university hospitals and the branch shrines of 出雲大社 in cities. An optional last
// field gives the template's share in percent of what it would have (rare kinds of place).
constexpr const char* kTemplates[] = {
    "コンビニ|1|K|-|ａｍ／ｐｍ{T}店|エーエムピーエム{T}テン",
    "コンビニ|2|K|-|エーエムピーエム{T}店|エーエムピーエム{T}テン",
    "コンビニ|3|K|-|ココストア{T}店|ココストア{T}テン",
    "コンビニ|4|K|-|ホットスパー{T}店|ホットスパー{T}テン",
    "コンビニ|5|K|-|サークルＫ{T}店|サークルケー{T}テン",
    "コンビニ|6|K|-|サンクス{T}店|サンクス{T}テン",
    "コンビニ|7|K|-|サンクス　{T}店|サンクス{T}テン",
    "コンビニ|7|K|-|サークルＫサンクス　{T}店|サークルケーサンクス{T}テン",
    "コンビニ|8|K|-|サンクス{T}　駅前店|サンクス{T}エキマエテン",
    "コンビニ|9|K|-|スリーエフ{T}店|スリーエフ{T}テン",
    "コンビニ|10|K|-|セイコーマート{T}店|セイコーマート{T}テン",
    "コンビニ|11|K|-|セブン－イレブン{T}店|セブンイレブン{T}テン",
    "コンビニ|11|K|-|セブンイレブン{T}店|セブンイレブン{T}テン",
    "コンビニ|12|K|-|デイリーヤマザキ{T}店|デイリーヤマザキ{T}テン",
    "コンビニ|13|K|-|ヤマザキデイリーストア{T}店|ヤマザキデイリーストア{T}テン",
    "コンビニ|14|K|-|ファミリーマート{T}店|ファミリーマート{T}テン",
    "コンビニ|15|K|-|ポプラ{T}店|ポプラ{T}テン",
    "コンビニ|16|K|-|ポプラ　{T}店|ポプラ{T}テン",
    "コンビニ|17|K|-|生活彩家{T}店|セイカツサイカ{T}テン",
    "コンビニ|18|K|-|ハイウェイ彩家{T}店|ハイウェイサイカ{T}テン",
    "コンビニ|19|K|-|くらしハウス{T}店|クラシハウス{T}テン",
    "コンビニ|20|K|-|スリーエイト{T}店|スリーエイト{T}テン",
    "コンビニ|21|K|-|ミニストップ{T}店|ミニストップ{T}テン",
    "コンビニ|22|K|-|ローソン{T}店|ローソン{T}テン",
    "病院|1|K|-|{T}病院|{T}ビョウイン",
    "病院|1|K|-|{S}病院|{S}ビョウイン",
    "病院|1|K|-|{T}中央病院|{T}チュウオウビョウイン",
    "病院|1|K|-|{S}記念病院|{S}キネンビョウイン",
    "医院|1|K|-|{S}医院|{S}イイン",
    "医院|1|K|-|{S}内科医院|{S}ナイカイイン",
    "医院|1|K|-|{S}眼科医院|{S}ガンカイイン",
    "医院|1|K|-|{T}外科医院|{T}ゲカイイン",
    "クリニック|1|K|-|{T}クリニック|{T}クリニック",
    "クリニック|1|K|-|{S}内科クリニック|{S}ナイカクリニック",
    "クリニック|1|K|-|{S}整形外科クリニック|{S}セイケイゲカクリニック",
    "診療所|1|K|-|{T}診療所|{T}シンリョウジョ",
    "診療所|1|K|-|{S}診療所|{S}シンリョウジョ",
    "歯科|1|K|-|{S}歯科|{S}シカ",
    "歯科|1|K|-|{T}歯科|{T}シカ",
    "歯科|2|K|-|{S}歯科医院|{S}シカイイン",
    "歯科|3|K|-|{T}デンタルクリニック|{T}デンタルクリニック",
    "歯科|3|K|-|{S}デンタルクリニック|{S}デンタルクリニック",
    "保育園|1|K|-|{T}保育園|{T}ホイクエン",
    "保育園|1|K|-|{B}保育園|{B}ホイクエン",
    "幼稚園|1|K|-|{T}幼稚園|{T}ヨウチエン",
    "幼稚園|1|K|-|{B}幼稚園|{B}ヨウチエン",
    "小学校|1|K|-|{C}立{T}小学校|{C}リツ{T}ショウガッコウ",
    "小学校|1|K|-|{T}小学校|{T}ショウガッコウ",
    "中学校|1|K|-|{C}立{T}中学校|{C}リツ{T}チュウガッコウ",
    "中学校|1|K|-|{T}中学校|{T}チュウガッコウ",
    "中学校|2|K|-|{T}中等教育学校|{T}チュウトウキョウイクガッコウ",
    "高校|1|K|-|{T}高校|{T}コウコウ",
    "高校|1|K|-|{B}学園高校|{B}ガクエンコウコウ",
    "高校|2|K|-|県立{T}高等学校|ケンリツ{T}コウトウガッコウ",
    "高校|2|K|-|{B}高等学校|{B}コウトウガッコウ",
    "専門学校|1|K|-|{B}調理専門学校|{B}チョウリセンモンガッコウ",
    "専門学校|1|K|-|{T}医療専門学校|{T}イリョウセンモンガッコウ",
    "専門学校|2|K|-|{B}専修学校|{B}センシュウガッコウ",
    "大学|1|K|-|{T}大学|{T}ダイガク",
    "大学|1|K|-|{B}大学|{B}ダイガク",
    "教室|1|K|-|{S}ピアノ教室|{S}ピアノキョウシツ",
    "教室|1|K|-|{S}書道教室|{S}ショドウキョウシツ",
    "教室|1|K|-|{B}英会話教室|{B}エイカイワキョウシツ",
    "教室|2|K|-|{B}英語スクール|{B}エイゴスクール",
    "教室|2|K|-|{T}ダンススクール|{T}ダンススクール",
    "教室|3|K|-|{S}ピアノレッスン|{S}ピアノレッスン",
    "ゴルフ|1|K|-|{T}ゴルフ練習場|{T}ゴルフレンシュウジョウ",
    "ゴルフ|1|K|-|{B}ゴルフセンター|{B}ゴルフセンター",
    "ゴルフ|2|K|M|{T}カントリークラブ|{T}カントリークラブ",
    "ゴルフ|3|K|M|{T}カントリー倶楽部|{T}カントリークラブ",
    "ゴルフ|4|K|M|{T}カンツリー倶楽部|{T}カンツリークラブ",
    "テニス|1|K|-|{T}テニスクラブ|{T}テニスクラブ",
    "テニス|1|K|-|{B}テニススクール|{B}テニススクール",
    "スイミング|1|K|-|{B}スイミングスクール|{B}スイミングスクール",
    "スイミング|1|K|-|{T}スイミングクラブ|{T}スイミングクラブ",
    "美容院|1|K|-|美容室{B}|ビヨウシツ{B}",
    "美容院|1|K|-|{B}美容院|{B}ビヨウイン",
    "美容院|2|K|-|ヘアーサロン{B}|ヘアーサロン{B}",
    "美容院|2|K|-|ヘアサロン{S}|ヘアサロン{S}",
    "美容院|3|K|-|ビューティーサロン{B}|ビューティーサロン{B}",
    "理容店|1|K|-|理容{S}|リヨウ{S}",
    "理容店|1|K|-|{B}理容室|{B}リヨウシツ",
    "理容店|2|K|-|{S}理髪店|{S}リハツテン",
    "理容店|3|K|-|カットハウス{B}|カットハウス{B}",
    "理容店|3|K|-|カットサロン{S}|カットサロン{S}",
    "理容店|4|K|-|バーバー{S}|バーバー{S}",
    "理容店|4|K|-|{B}バーバー|{B}バーバー",
    "役所|1|K|S|{C}役所|{C}ヤクショ",
    "役所|1|K|S|{C}役所{T}出張所|{C}ヤクショ{T}シュッチョウジョ",
    "役場|1|K|M|{C}役場|{C}ヤクバ",
    "役場|1|K|M|{C}役場{T}支所|{C}ヤクバ{T}シショ",
    "保健所|1|K|-|{C}保健所|{C}ホケンジョ",
    "寺院|1|K|-|{J}|{J}",
    "寺院|1|K|-|曹洞宗{J}|ソウトウシュウ{J}",
    "寺院|1|K|-|浄土宗{J}|ジョウドシュウ{J}",
    "寺院|1|K|-|真言宗{J}|シンゴンシュウ{J}",
    "寺院|2|K|-|{T}寺院|{T}ジイン",
    "寺院|3|K|-|{T}稲荷|{T}イナリ",
    "寺院|3|K|-|正一位{T}稲荷|ショウイチイ{T}イナリ",
    "神社|1|K|-|{T}神社|{T}ジンジャ",
    "神社|1|K|-|{T}八幡神社|{T}ハチマンジンジャ",
    "神社|2|K|S|出雲大社{C}分祠|イズモタイシャ{C}ブンシ",
    "神社|2|K|S|出雲大社{C}教会|イズモタイシャ{C}キョウカイ",
    "神社|3|K|-|{T}若宮社|{T}ワカミヤシャ",
    "神社|4|K|-|{T}神宮|{T}ジングウ",
    "神社|5|K|-|{T}天満宮|{T}テンマングウ",
    "神社|6|K|-|{T}東照宮|{T}トウショウグウ",
    "神社|7|K|-|{T}水天宮|{T}スイテングウ",
    "神社|8|K|-|{T}八幡宮|{T}ハチマングウ",
    "教会|1|K|-|{T}キリスト教会|{T}キリストキョウカイ",
    "教会|1|K|-|日本基督教団{T}教会|ニホンキリストキョウダン{T}キョウカイ",
    "教会|1|K|-|{T}カトリック教会|{T}カトリックキョウカイ",
    "ホテル|1|K|-|ホテル{B}|ホテル{B}",
    "ホテル|1|K|-|{T}グランドホテル|{T}グランドホテル",
    "ホテル|1|K|-|{B}ホテル|{B}ホテル",
    "旅館|1|K|-|{B}旅館|{B}リョカン",
    "旅館|1|K|-|{S}旅館|{S}リョカン",
    "旅行|1|K|-|{B}旅行|{B}リョコウ",
    "旅行|1|K|-|{T}旅行センター|{T}リョコウセンター",
    "旅行|2|K|-|{B}トラベル|{B}トラベル",
    "旅行|3|K|-|{B}ツーリスト|{B}ツーリスト",
    "旅行|4|K|-|{T}観光|{T}カンコウ",
    "旅行|4|K|-|{B}観光バス|{B}カンコウバス",
    "旅行|5|K|-|ＪＴＢ{T}支店|ジェイティービー{T}シテン",
    "旅行|6|K|-|ジェイティービー{T}営業所|ジェイティービー{T}エイギョウショ",
    "旅行|7|K|-|エイチ・アイ・エス{T}営業所|エイチアイエス{T}エイギョウショ",
    "旅行|8|K|-|{B}ツアーズ|{B}ツアーズ",
    "旅行|8|K|-|{T}ツアーセンター|{T}ツアーセンター",
    "銀行|1|K|-|{B}銀行{T}支店|{B}ギンコウ{T}シテン",
    "信用金庫|1|K|-|{B}信用金庫{T}支店|{B}シンヨウキンコ{T}シテン",
    "信用金庫|1|K|-|{C}信用金庫|{C}シンヨウキンコ",
    "信用組合|1|K|-|{B}信用組合{T}支店|{B}シンヨウクミアイ{T}シテン",
    "農協|1|K|-|{T}農協|{T}ノウキョウ",
    "農協|1|K|-|{C}農協{T}支所|{C}ノウキョウ{T}シショ",
    "郵便局|1|K|-|{T}郵便局|{T}ユウビンキョク",
    "ＮＴＴ|1|K|-|ＮＴＴ{T}ビル|エヌティティ{T}ビル",
    "ＮＴＴ|1|K|-|ＮＴＴ{T}営業所|エヌティティ{T}エイギョウショ",
    "駅|1|K|-|{T}駅|{T}エキ",
    "駅|1|K|-|ＪＲ{T}駅|ジェイアール{T}エキ",
    "タクシー|1|K|-|{B}タクシー|{B}タクシー",
    "タクシー|1|K|-|{T}交通タクシー|{T}コウツウタクシー",
    "運送|1|K|-|{B}急便|{B}キュウビン",
    "運送|1|K|-|{T}急便|{T}キュウビン",
    "運送|2|K|-|{S}運輸|{S}ウンユ",
    "運送|2|K|-|{T}運輸|{T}ウンユ",
    "運送|3|K|-|{B}引越センター|{B}ヒッコシセンター",
    "運送|4|K|-|{S}運送|{S}ウンソウ",
    "運送|4|K|-|{B}運送|{B}ウンソウ",
    "運送|5|K|-|{T}配送センター|{T}ハイソウセンター",
    "運送|6|K|-|{B}バイク便|{B}バイクビン",
    "運送|7|K|-|{T}通運|{T}ツウウン",
    "マッサージ|1|K|-|{S}マッサージ|{S}マッサージ",
    "マッサージ|1|K|-|{B}マッサージ|{B}マッサージ",
    "マッサージ|2|K|-|{S}指圧院|{S}シアツイン",
    "マッサージ|3|K|-|{T}カイロプラクティック|{T}カイロプラクティック",
    "マッサージ|4|K|-|{S}鍼灸院|{S}シンキュウイン",
    "弁護士|1|K|-|{S}法律事務所|{S}ホウリツジムショ",
    "弁護士|1|K|-|{S}総合法律事務所|{S}ソウゴウホウリツジムショ",
    "弁護士|2|K|-|{S}弁護士|{S}ベンゴシ",
    "税理士|1|K|-|{S}税理士事務所|{S}ゼイリシジムショ",
    "会計士|1|K|-|{S}公認会計士事務所|{S}コウニンカイケイシジムショ",
    "司法書士|1|K|-|{S}司法書士事務所|{S}シホウショシジムショ",
    "警察|1|K|-|{T}警察署|{T}ケイサツショ",
    "警察|1|K|-|{C}警察署{T}交番|{C}ケイサツショ{T}コウバン",
    "薬局|1|K|-|{B}薬局|{B}ヤッキョク",
    "薬局|1|K|-|{T}薬局|{T}ヤッキョク",
    "薬局|2|K|-|{S}薬店|{S}ヤクテン",
    "薬局|3|K|-|くすりの{B}|クスリノ{B}",
    "薬局|4|K|-|クスリの{S}|クスリノ{S}",
    "薬局|5|K|-|ドラック{B}|ドラック{B}",
    "薬局|6|K|-|ドラッグストア{B}|ドラッグストア{B}",
    "薬局|6|K|-|{B}ドラッグ|{B}ドラッグ",
    "図書館|1|K|-|{C}立図書館|{C}リツトショカン",
    "図書館|1|K|-|{T}図書館|{T}トショカン",
    "飲食店|1|K|-|日本料理{B}|ニホンリョウリ{B}",
    "飲食店|1|K|-|中国料理{B}|チュウゴクリョウリ{B}",
    "飲食店|1|K|-|郷土料理{S}|キョウドリョウリ{S}",
    "飲食店|2|K|-|レストラン{B}|レストラン{B}",
    "飲食店|2|K|-|{B}レストラン|{B}レストラン",
    "飲食店|3|K|-|割烹{S}|カッポウ{S}",
    "飲食店|3|K|-|割烹{B}|カッポウ{B}",
    "飲食店|4|K|-|居酒屋{B}|イザカヤ{B}",
    "飲食店|4|K|-|居酒屋{S}|イザカヤ{S}",
    "飲食店|5|K|-|パブ{B}|パブ{B}",
    "飲食店|5|K|-|パブ{S}|パブ{S}",
    "飲食店|6|K|-|スナック{B}|スナック{B}",
    "飲食店|6|K|-|スナック{S}|スナック{S}",
    "飲食店|7|K|-|喫茶{B}|キッサ{B}",
    "飲食店|7|K|-|純喫茶{B}|ジュンキッサ{B}",
    "飲食店|8|K|-|{B}鮨|{B}スシ",
    "飲食店|8|K|-|鮨{S}|スシ{S}",
    "飲食店|9|K|-|{B}寿司|{B}スシ",
    "飲食店|9|K|-|回転寿司{B}|カイテンズシ{B}",
    "飲食店|10|K|-|{B}寿し|{B}スシ",
    "飲食店|10|K|-|寿し{S}|スシ{S}",
    "飲食店|11|K|-|{B}すし|{B}スシ",
    "飲食店|11|K|-|すし{S}|スシ{S}",
    "飲食店|12|K|-|鰻{S}|ウナギ{S}",
    "飲食店|12|K|-|{B}鰻|{B}ウナギ",
    "飲食店|13|K|-|うなぎ{S}|ウナギ{S}",
    "飲食店|13|K|-|{B}うなぎ|{B}ウナギ",
    "飲食店|14|K|-|焼肉{B}|ヤキニク{B}",
    "飲食店|14|K|-|焼肉{S}|ヤキニク{S}",
    "飲食店|15|K|-|焼き肉{B}|ヤキニク{B}",
    "飲食店|16|K|-|ステーキハウス{B}|ステーキハウス{B}",
    "飲食店|16|K|-|{B}ステーキ|{B}ステーキ",
    "飲食店|17|K|-|ラーメン{B}|ラーメン{B}",
    "飲食店|17|K|-|{B}ラーメン|{B}ラーメン",
    "飲食店|18|K|-|らーめん{B}|ラーメン{B}",
    "飲食店|18|K|-|{B}らーめん|{B}ラーメン",
    "飲食店|19|K|-|らぁめん{B}|ラァメン{B}",
    "飲食店|20|K|-|中華そば{B}|チュウカソバ{B}",
    "飲食店|20|K|-|{B}中華そば|{B}チュウカソバ",
    "飲食店|21|K|-|中華ソバ{B}|チュウカソバ{B}",
    "飲食店|22|K|-|支那そば{B}|シナソバ{B}",
    "飲食店|23|K|-|支那ソバ{B}|シナソバ{B}",
    "飲食店|24|K|-|しなそば{B}|シナソバ{B}",
    "飲食店|25|K|-|ぎょうざの{B}|ギョウザノ{B}",
    "飲食店|25|K|-|{B}ぎょうざ|{B}ギョウザ",
    "飲食店|26|K|-|餃子の{B}|ギョウザノ{B}",
    "飲食店|26|K|-|{B}餃子|{B}ギョウザ",
    "飲食店|27|K|-|そば処{S}|ソバドコロ{S}",
    "飲食店|27|K|-|手打ちそば{B}|テウチソバ{B}",
    "飲食店|28|K|-|立ち食いソバ{B}|タチグイソバ{B}",
    "飲食店|28|K|-|{B}ソバ|{B}ソバ",
    "飲食店|29|K|-|蕎麦{S}|ソバ{S}",
    "飲食店|29|K|-|手打蕎麦{B}|テウチソバ{B}",
    "飲食店|30|K|-|カレーハウス{B}|カレーハウス{B}",
    "飲食店|30|K|-|{B}カレー|{B}カレー",
    "飲食店|31|K|-|うどん{S}|ウドン{S}",
    "飲食店|31|K|-|讃岐うどん{B}|サヌキウドン{B}",
    "不動産関係|1|K|-|{S}不動産|{S}フドウサン",
    "不動産関係|1|K|-|{B}不動産|{B}フドウサン",
    "不動産関係|2|K|-|{T}宅地建物|{T}タクチタテモノ",
    "不動産関係|2|K|-|{B}宅地|{B}タクチ",
    "不動産関係|3|K|-|{S}住宅|{S}ジュウタク",
    "不動産関係|3|K|-|{B}住宅|{B}ジュウタク",
    "レンタルショップ|1|K|-|レンタルビデオ{B}|レンタルビデオ{B}",
    "レンタルショップ|1|K|-|{B}レンタル|{B}レンタル",
    "レンタルショップ|2|K|-|ゲオ{T}店|ゲオ{T}テン",
    "レンタルショップ|3|K|-|ＴＳＵＴＡＹＡ{T}店|ツタヤ{T}テン",
    "レンタルショップ|4|K|-|ツタヤ{T}店|ツタヤ{T}テン",
    "レンタカー|1|K|-|{B}レンタカー|{B}レンタカー",
    "レンタカー|1|K|-|ニッポンレンタカー{T}営業所|ニッポンレンタカー{T}エイギョウショ",
    "レンタカー|2|K|-|{T}自動車レンタル|{T}ジドウシャレンタル",
    "レンタカー|3|K|-|{T}レンタリース|{T}レンタリース",

    "病院|0|D|-|ローソン{T}病院前店|ローソン{T}ビョウインマエテン",
    "病院|0|D|-|{T}病院レストラン|{T}ビョウインレストラン",
    "神社|0|D|-|{T}神社前駅|{T}ジンジャマエエキ",
    "神社|0|D|-|{T}神宮ホテル|{T}ジングウホテル",
    "神社|0|D|S|出雲大社{C}分祠前店|イズモタイシャ{C}ブンシマエテン|40",
    "大学|0|D|-|{T}大学前駅|{T}ダイガクマエエキ",
    "大学|0|D|S|{U}大学病院|{U}ダイガクビョウイン|40",
    "大学|0|D|-|{B}大学受験セミナー|{B}ダイガクジュケンセミナー",
    "郵便局|0|D|-|{T}郵便局前店|{T}ユウビンキョクマエテン",
    "郵便局|0|D|-|{C}郵便局労働組合|{C}ユウビンキョクロウドウクミアイ",
    "郵便局|0|D|-|{T}郵便局宿舎|{T}ユウビンキョクシュクシャ",
    "役所|0|D|S|{C}役所前店|{C}ヤクショマエテン",
    "保健所|0|D|-|保健所前{S}薬局|ホケンジョマエ{S}ヤッキョク",
    "タクシー|0|D|-|{T}タクシー研修所|{T}タクシーケンシュウジョ",
    "レンタルショップ|0|D|-|トヨタレンタリース{T}|トヨタレンタリース{T}",
    "レンタルショップ|0|D|-|日産レンタカー{T}店|ニッサンレンタカー{T}テン",
    "レンタルショップ|0|D|-|洋菓子バレンタイン{T}店|ヨウガシバレンタイン{T}テン",
    "ゴルフ|0|D|-|{T}カントリーゴルフ練習場|{T}カントリーゴルフレンシュウジョウ",
    "薬局|0|D|-|クスリー{T}店|クスリー{T}テン",
    "警察|0|D|-|{B}警察前店|{B}ケイサツマエテン",
    "寺院|0|D|-|ヘアサロン{K}|ヘアサロン{K}",
    "寺院|0|D|-|カラオケ{K}|カラオケ{K}",
    "寺院|0|D|-|ホテル{K}|ホテル{K}",
    "寺院|0|D|-|カフェ{K}|カフェ{K}",
    "寺院|0|D|-|スナック{K}|スナック{K}",
    "理容店|0|D|-|バーバーテン{T}店|バーバーテン{T}テン",
    "理容店|0|D|-|バーバーリッチ{T}|バーバーリッチ{T}",
    "旅行|0|D|-|{T}観光開発|{T}カンコウカイハツ",
    "旅行|0|D|-|{T}観光出版|{T}カンコウシュッパン",
    "運送|0|D|-|{T}運輸工業|{T}ウンユコウギョウ",
    "運送|0|D|-|{C}運送事業協同組合|{C}ウンソウジギョウキョウドウクミアイ",
    "不動産関係|0|D|-|{C}不動産協同組合|{C}フドウサンキョウドウクミアイ",
    "不動産関係|0|D|-|{C}職員住宅|{C}ショクインジュウタク",
    "不動産関係|0|D|-|{B}住宅ローンセンター|{B}ジュウタクローンセンター",
    "テニス|0|D|-|テニス喫茶{B}|テニスキッサ{B}",
    "テニス|0|D|-|テニスパブ{B}|テニスパブ{B}",
    "飲食店|0|D|-|{S}料理教室|{S}リョウリキョウシツ",
    "飲食店|0|D|-|{C}鮨商組合|{C}スシショウクミアイ",
    "飲食店|0|D|-|{B}寿司本部|{B}スシホンブ",
    "飲食店|0|D|-|{T}そば製粉所|{T}ソバセイフンショ",
    "飲食店|0|D|-|{B}カレー製造|{B}カレーセイゾウ",
    "飲食店|0|D|-|{S}鰻養殖場|{S}ウナギヨウショクジョウ",
    "飲食店|0|D|-|{B}パブリッシング|{B}パブリッシング",
    "飲食店|0|D|-|スナックフード{B}|スナックフード{B}",
    "飲食店|0|D|-|{B}そばかすクリニック|{B}ソバカスクリニック",
    "飲食店|0|D|-|ソバージュ{B}|ソバージュ{B}",
    "飲食店|0|D|-|{B}エスカレーター|{B}エスカレーター",
    "飲食店|0|D|-|居酒屋{B}本社|イザカヤ{B}ホンシャ",
    "飲食店|0|D|-|{B}レストラン事業部|{B}レストランジギョウブ",
    "飲食店|0|D|-|{B}うどん製造所|{B}ウドンセイゾウショ",
    "飲食店|0|D|-|焼肉{B}販売|ヤキニク{B}ハンバイ",

    "-|0|P|-|株式会社{S}工務店|カブシキガイシャ{S}コウムテン",
    "-|0|P|-|{S}建設株式会社|{S}ケンセツカブシキガイシャ",
    "-|0|P|-|有限会社{B}|ユウゲンガイシャ{B}",
    "-|0|P|-|{S}商店|{S}ショウテン",
    "-|0|P|-|{B}電機株式会社|{B}デンキカブシキガイシャ",
    "-|0|P|-|{S}酒店|{S}サケテン",
    "-|0|P|-|{T}設備工業|{T}セツビコウギョウ",
    "-|0|P|-|{S}塗装|{S}トソウ",
    "-|0|P|-|{B}印刷|{B}インサツ",
    "-|0|P|-|{S}自動車整備工場|{S}ジドウシャセイビコウジョウ",
    "-|0|P|-|株式会社{B}システム|カブシキガイシャ{B}システム",
    "-|0|P|-|{S}鮮魚店|{S}センギョテン",
    "-|0|P|-|{S}米穀店|{S}ベイコクテン",
    "-|0|P|-|{B}クリーニング|{B}クリーニング",
    "-|0|P|-|{S}畳店|{S}タタミテン",
    "-|0|P|-|{S}精肉店|{S}セイニクテン",
    "-|0|P|-|{B}フーズ株式会社|{B}フーズカブシキガイシャ",
    "-|0|P|-|{S}製作所|{S}セイサクショ",
    "-|0|P|-|{T}石油|{T}セキユ",
    "-|0|P|-|{S}医院|{S}イイン",
    "-|0|P|-|{S}電気工事|{S}デンキコウジ",
    "-|0|P|-|{B}商事株式会社|{B}ショウジカブシキガイシャ",
    "-|0|P|-|{S}会計事務所|{S}カイケイジムショ",
    "-|0|P|-|{S}新聞店|{S}シンブンテン",
    "-|0|P|-|{B}保険サービス|{B}ホケンサービス",
    "-|0|P|-|{S}写真館|{S}シャシンカン",
    "-|0|P|-|{S}接骨院|{S}セッコツイン",
    "-|0|P|-|{S}生花店|{S}セイカテン",
    "-|0|P|-|{S}時計店|{S}トケイテン",
    "-|0|P|-|{S}建築設計事務所|{S}ケンチクセッケイジムショ",
};

constexpr const char* kBrands[] = {
    "さくら|サクラ",
    "ひまわり|ヒマワリ",
    "あおば|アオバ",
    "みどり|ミドリ",
    "富士|フジ",
    "大和|ヤマト",
    "日の出|ヒノデ",
    "朝日|アサヒ",
    "平和|ヘイワ",
    "中央|チュウオウ",
    "第一|ダイイチ",
    "東洋|トウヨウ",
    "昭和|ショウワ",
    "三光|サンコウ",
    "丸一|マルイチ",
    "光|ヒカリ",
    "若葉|ワカバ",
    "栄|サカエ",
    "千代田|チヨダ",
    "福寿|フクジュ",
    "鶴亀|ツルカメ",
    "宝|タカラ",
    "大黒|ダイコク",
    "恵比寿|エビス",
    "金星|キンセイ",
    "銀河|ギンガ",
    "太陽|タイヨウ",
    "青葉|アオバ",
    "つばさ|ツバサ",
    "はなまる|ハナマル",
    "こころ|ココロ",
    "ゆめ|ユメ",
    "きらら|キララ",
    "やまびこ|ヤマビコ",
    "北斗|ホクト",
    "新星|シンセイ",
    "共栄|キョウエイ",
    "協和|キョウワ",
    "丸和|マルワ",
    "大栄|ダイエイ",
    "三和|サンワ",
    "富士見|フジミ",
    "城南|ジョウナン",
    "白鳥|ハクチョウ",
    "松風|マツカゼ",
    "清流|セイリュウ",
    "桂|カツラ",
    "梅林|バイリン",
    "アルファ|アルファ",
    "サンライズ|サンライズ",
    "グリーン|グリーン",
    "スマイル|スマイル",
    "ハーモニー|ハーモニー",
    "エトワール|エトワール",
    "ポラリス|ポラリス",
    "ミモザ|ミモザ",
};

constexpr const char* kTemples[] = {
    "長福寺|チョウフクジ", "西光寺|サイコウジ", "正覚寺|ショウガクジ", "龍泉寺|リュウセンジ",
    "光明寺|コウミョウジ", "浄土寺|ジョウドジ", "薬王寺|ヤクオウジ",   "常楽寺|ジョウラクジ",
    "善福寺|ゼンプクジ",   "大円寺|ダイエンジ", "満願寺|マンガンジ",   "永福寺|エイフクジ",
    "安楽寺|アンラクジ",   "宝泉寺|ホウセンジ", "円通寺|エンツウジ",   "地蔵寺|ジゾウジ",
    "西福寺|サイフクジ",   "東光寺|トウコウジ", "蓮華寺|レンゲジ",     "妙法寺|ミョウホウジ",
    "本覚寺|ホンガクジ",   "金剛寺|コンゴウジ", "瑞雲寺|ズイウンジ",   "大林寺|ダイリンジ",
    "観音寺|カンノンジ",   "泉福寺|センプクジ",
};

constexpr const char* kUniversities[] = {
    "東洋|トウヨウ", "昭和|ショウワ", "中央|チュウオウ", "城南|ジョウナン", "東邦|トウホウ",
    "聖和|セイワ",   "北斗|ホクト",   "平成|ヘイセイ",   "協和|キョウワ",   "明和|メイワ",
};

constexpr const char* kTemplePlaces[] = {
    "吉祥寺|キチジョウジ", "高円寺|コウエンジ", "国分寺|コクブンジ", "天王寺|テンノウジ",
    "善光寺|ゼンコウジ",   "豪徳寺|ゴウトクジ", "護国寺|ゴコクジ",   "泉岳寺|センガクジ",
};

std::string fold(const std::string& text) {
    return pikotel::foldForCompare(QString::fromStdString(text)).toStdString();
}

constexpr std::uint64_t kShareKept = 600;
constexpr std::uint64_t kShareDecoy = 120;
constexpr std::uint64_t kSharePlain = 280;
// Weights stay integers: every share is a multiple of this before it is divided.
constexpr std::uint64_t kWeightScale = 1'000'000'000;

// Attempts at other slot values before a name the exclusion words drop is taken as is.
constexpr int kKeepAttempts = 8;

} // namespace

BusinessNamer::BusinessNamer(const AddressBook& book, const NameBook& names)
    : book_(book), names_(names), townFolds_(book.towns.size()), cityFolds_(book.cities.size()),
      surnameFolds_(names.surnameCount()) {}

bool BusinessNamer::init(QString* error) {
    const auto loadList = [&](const auto& source, std::vector<Word>* out) {
        for (const char* line : source) {
            const QStringList f = QString::fromUtf8(line).split(u'|');
            if (f.size() != 2) {
                *error = QStringLiteral("bad word entry: %1").arg(QString::fromUtf8(line));
                return false;
            }
            out->push_back({f[0].toStdString(), f[1].toStdString(), fold(f[0].toStdString())});
        }
        return true;
    };
    if (!loadList(kBrands, &brands_) || !loadList(kTemples, &temples_) ||
        !loadList(kTemplePlaces, &templePlaces_) || !loadList(kUniversities, &universities_))
        return false;

    const std::span<const industry::Industry> industries = industry::builtinIndustries();
    const auto slotOf = [](QChar c, Slot* slot) {
        switch (c.unicode()) {
        case u'S':
            *slot = Slot::Surname;
            return true;
        case u'T':
            *slot = Slot::Town;
            return true;
        case u'C':
            *slot = Slot::City;
            return true;
        case u'B':
            *slot = Slot::Brand;
            return true;
        case u'J':
            *slot = Slot::Temple;
            return true;
        case u'K':
            *slot = Slot::TemplePlace;
            return true;
        case u'U':
            *slot = Slot::University;
            return true;
        default:
            return false;
        }
    };
    // Splits "ローソン{T}店" into literals and slots.
    const auto split = [&](const QString& text, std::vector<std::pair<QString, Slot>>* pieces,
                           std::vector<bool>* isSlot) {
        qsizetype from = 0;
        while (from < text.size()) {
            const qsizetype open = text.indexOf(u'{', from);
            if (open < 0) {
                pieces->push_back({text.mid(from), Slot::Surname});
                isSlot->push_back(false);
                break;
            }
            if (open > from) {
                pieces->push_back({text.mid(from, open - from), Slot::Surname});
                isSlot->push_back(false);
            }
            Slot slot{};
            if (open + 2 >= text.size() || text[open + 2] != u'}' || !slotOf(text[open + 1], &slot))
                return false;
            pieces->push_back({QString(), slot});
            isSlot->push_back(true);
            from = open + 3;
        }
        return true;
    };

    std::map<std::pair<int, int>, std::uint64_t> keptPerPattern;
    std::uint64_t decoys = 0;
    std::uint64_t plains = 0;
    for (const char* line : kTemplates) {
        const QString entry = QString::fromUtf8(line);
        const QStringList f = entry.split(u'|');
        const auto bad = [&] {
            *error = QStringLiteral("bad business name template: %1").arg(entry);
            return false;
        };
        if (f.size() != 6 && f.size() != 7)
            return bad();
        Template t;
        bool shareOk = true;
        t.sharePercent = f.size() == 7 ? f[6].toUInt(&shareOk) : 100;
        if (!shareOk || t.sharePercent == 0 || t.sharePercent > 100)
            return bad();
        if (f[0] != u"-") {
            const auto it =
                std::find_if(industries.begin(), industries.end(),
                             [&](const industry::Industry& i) { return i.name == f[0]; });
            if (it == industries.end())
                return bad();
            t.industry = static_cast<int>(it - industries.begin());
        }
        t.pattern = f[1].toInt();
        t.kept = f[2] == u"K";
        t.need = f[3] == u"S"   ? CityNeed::City
                 : f[3] == u"M" ? CityNeed::TownOrVillage
                                : CityNeed::Any;
        if (t.kept && (t.industry < 0 || t.pattern < 1 ||
                       t.pattern > industry::searchPatterns(industries[t.industry]).size()))
            return bad();
        std::vector<std::pair<QString, Slot>> written;
        std::vector<std::pair<QString, Slot>> reading;
        std::vector<bool> writtenSlots;
        std::vector<bool> readingSlots;
        if (!split(f[4], &written, &writtenSlots) || !split(f[5], &reading, &readingSlots))
            return bad();
        // Name and reading have the same slots in the same order, literal or not between.
        std::vector<Slot> ws;
        std::vector<Slot> rs;
        for (std::size_t i = 0; i < written.size(); ++i) {
            if (writtenSlots[i])
                ws.push_back(written[i].second);
        }
        for (std::size_t i = 0; i < reading.size(); ++i) {
            if (readingSlots[i])
                rs.push_back(reading[i].second);
        }
        if (ws != rs)
            return bad();
        // Parts: a literal carries its own reading; the reading's literal between two
        // slots belongs to the written literal between the same slots.
        std::vector<QString> readingLiterals(ws.size() + 1);
        std::size_t gap = 0;
        for (std::size_t i = 0; i < reading.size(); ++i) {
            if (readingSlots[i])
                ++gap;
            else
                readingLiterals[gap] += reading[i].first;
        }
        std::vector<QString> writtenLiterals(ws.size() + 1);
        gap = 0;
        for (std::size_t i = 0; i < written.size(); ++i) {
            if (writtenSlots[i])
                ++gap;
            else
                writtenLiterals[gap] += written[i].first;
        }
        for (std::size_t g = 0; g <= ws.size(); ++g) {
            if (!writtenLiterals[g].isEmpty() || !readingLiterals[g].isEmpty()) {
                Part p;
                p.text = writtenLiterals[g].toStdString();
                p.reading = readingLiterals[g].toStdString();
                p.folded = fold(p.text);
                t.parts.push_back(std::move(p));
            }
            if (g < ws.size()) {
                Part p;
                p.isSlot = true;
                p.slot = ws[g];
                t.parts.push_back(std::move(p));
            }
        }
        if (t.kept) {
            // The words the search applies: one inside the pattern's own text drops nothing.
            for (const QString& word :
                 industry::applicableExclusionWords(industries[t.industry], t.pattern))
                t.foldedExclusions.push_back(foldForCompare(word).toStdString());
            ++keptPerPattern[{t.industry, t.pattern}];
        } else if (t.industry >= 0) {
            ++decoys;
        } else {
            ++plains;
        }
        templates_.push_back(std::move(t));
    }
    std::size_t patternCount = 0;
    for (const industry::Industry& i : industries)
        patternCount += std::size_t(industry::searchPatterns(i).size());
    if (keptPerPattern.size() != patternCount || decoys == 0 || plains == 0) {
        *error = QStringLiteral("business name templates do not cover every industry pattern");
        return false;
    }
    // Every pattern gets the same share of the aimed names, split among its templates.
    for (const Template& t : templates_) {
        std::uint64_t weight = 0;
        if (t.kept)
            weight =
                kShareKept * kWeightScale / patternCount / keptPerPattern[{t.industry, t.pattern}];
        else if (t.industry >= 0)
            weight = kShareDecoy * kWeightScale / decoys;
        else
            weight = kSharePlain * kWeightScale / plains;
        picker_.add(weight / 100 * t.sharePercent);
    }
    return true;
}

CityNeed BusinessNamer::cityNeed(std::size_t templateIndex) const {
    return templates_[templateIndex].need;
}

const std::string& BusinessNamer::foldedTown(std::uint32_t town) {
    std::string& f = townFolds_[town];
    if (f.empty())
        f = fold(book_.towns[town].name);
    return f;
}

const std::string& BusinessNamer::foldedCity(std::uint32_t city) {
    std::string& f = cityFolds_[city];
    if (f.empty())
        f = fold(book_.cities[city].callName);
    return f;
}

const std::string& BusinessNamer::foldedSurname(std::size_t index) {
    std::string& f = surnameFolds_[index];
    if (f.empty())
        f = fold(names_.surnameAt(index).written);
    return f;
}

BusinessNamer::Value BusinessNamer::slotValue(Slot slot, std::uint32_t city, std::uint32_t town,
                                              bool varied, Random& random) {
    const auto word = [](const Word& w) { return Value{&w.text, &w.reading, &w.folded}; };
    switch (slot) {
    case Slot::Surname: {
        const std::size_t index = names_.surnameIndex(random);
        const PersonName& name = names_.surnameAt(index);
        return {&name.written, &name.reading, &foldedSurname(index)};
    }
    case Slot::Town: {
        // The listing's own town when it makes a name, else another of its city or prefecture.
        std::uint32_t chosen = town;
        const City& c = book_.cities[city];
        const std::vector<std::uint32_t>& prefTowns = book_.prefectures[c.prefNo - 1].nameTowns;
        if (varied || book_.towns[town].nameKana.empty()) {
            if (!c.nameTowns.empty() && (!varied || random.chance(500)))
                chosen = c.nameTowns[random.below(c.nameTowns.size())];
            else if (!prefTowns.empty())
                chosen = prefTowns[random.below(prefTowns.size())];
            else
                return word(brands_[random.below(brands_.size())]);
        }
        const Town& t = book_.towns[chosen];
        return {&t.name, &t.nameKana, &foldedTown(chosen)};
    }
    case Slot::City: {
        const City& c = book_.cities[city];
        return {&c.callName, &c.callKana, &foldedCity(city)};
    }
    case Slot::Brand:
        return word(brands_[random.below(brands_.size())]);
    case Slot::Temple:
        return word(temples_[random.below(temples_.size())]);
    case Slot::TemplePlace:
        return word(templePlaces_[random.below(templePlaces_.size())]);
    case Slot::University:
        return word(universities_[random.below(universities_.size())]);
    }
    return word(brands_.front());
}

void BusinessNamer::compose(std::size_t templateIndex, std::uint32_t city, std::uint32_t town,
                            Random& random, std::string* name, std::string* reading) {
    const Template& t = templates_[templateIndex];
    std::string folded;
    for (int attempt = 0; attempt < kKeepAttempts; ++attempt) {
        name->clear();
        reading->clear();
        folded.clear();
        for (const Part& part : t.parts) {
            if (!part.isSlot) {
                name->append(part.text);
                reading->append(part.reading);
                folded.append(part.folded);
                continue;
            }
            const Value v = slotValue(part.slot, city, town, attempt > 0, random);
            name->append(*v.text);
            reading->append(*v.reading);
            folded.append(*v.folded);
        }
        const bool dropped =
            std::any_of(t.foldedExclusions.begin(), t.foldedExclusions.end(),
                        [&](const std::string& w) { return folded.find(w) != std::string::npos; });
        if (!dropped)
            return;
    }
}

} // namespace pikotel::gen
