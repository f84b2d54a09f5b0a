#include "gen_vocabulary.h"

#include <algorithm>

namespace pikotel::gen {

namespace {

using Applies = ExclusionRule::Applies;
using Words = std::vector<std::string>;

std::vector<int> range(int first, int last) {
    std::vector<int> numbers;
    for (int n = first; n <= last; ++n)
        numbers.push_back(n);
    return numbers;
}

std::vector<int> join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

ExclusionRule all(Words words) {
    return {Applies::All, {}, std::move(words)};
}
ExclusionRule only(std::vector<int> patterns, Words words) {
    return {Applies::Only, std::move(patterns), std::move(words)};
}
ExclusionRule allBut(std::vector<int> patterns, Words words) {
    return {Applies::AllBut, std::move(patterns), std::move(words)};
}

Industry contains(const char* name, std::vector<ExclusionRule> exclusions = {}) {
    return {name, 1, {std::string("*") + name + "*"}, std::move(exclusions)};
}
Industry endsWith(const char* name) {
    return {name, 2, {std::string("*") + name}, {}};
}
Industry patternList(const char* name, Words patterns, std::vector<ExclusionRule> exclusions = {}) {
    return {name, 4, std::move(patterns), std::move(exclusions)};
}

const Words kShrineAndTempleCommon = {"ａ", "ｉ", "ｕ", "ｅ", "ｏ", "Ａ", "Ｉ", "Ｕ", "Ｅ", "Ｏ"};

Words withVowels(Words words) {
    words.insert(words.end(), kShrineAndTempleCommon.begin(), kShrineAndTempleCommon.end());
    return words;
}

std::vector<Industry> makeIndustries() {
    std::vector<Industry> list;
    list.push_back(patternList(
        "コンビニ",
        {"*ａｍ*ｐｍ*",        "エーエム*ピーエム*", "*ココストア*",      "*ホットスパー*",
         "サークルＫ*店*",     "サンクス*店",        "*サンクス　*",      "*サンクス*　*店",
         "*スリーエフ*",       "*セイコーマート*",   "*セブン*イレブン*", "*デイリーヤマザキ*",
         "*ヤマザキデイリー*", "*ファミリーマート*", "ポプラ*店",         "*ポプラ　*",
         "*生活彩家*",         "*ハイウェイ彩家*",   "*くらしハウス*",    "スリーエイト*店",
         "*ミニストップ*",     "*ローソン*"}));
    list.push_back(patternList("病院", {"*病院*"}, {all({"レストラン", "店"})}));
    list.push_back(endsWith("医院"));
    list.push_back(contains("クリニック"));
    list.push_back(endsWith("診療所"));
    list.push_back(patternList("歯科", {"*歯科", "*歯科医院", "*デンタル*クリニック*"}));
    list.push_back(endsWith("保育園"));
    list.push_back(endsWith("幼稚園"));
    list.push_back(endsWith("小学校"));
    list.push_back(patternList("中学校", {"*中学校", "*中等教育*"}));
    list.push_back(patternList("高校", {"*高校", "*高等学校"}));
    list.push_back(patternList("専門学校", {"*専門学校", "*専修学校"}));
    list.push_back(patternList(
        "大学", {"*大学*"},
        {all({"ラーメン",   "店",       "駅",         "病院",       "薬局",         "大学堂",
              "前",         "附属",     "学力増進",   "診療所",     "営業所",       "専門学校",
              "やきとり",   "ホルモン", "庁",         "麻雀",       "なるい",       "ＬＥＣ",
              "ショップ",   "バンク",   "クリニック", "マンション", "小学校",       "中学校",
              "高等学校",   "受験",     "カラオケ",   "パチンコ",   "ショッピング", "マンガ喫茶",
              "マージャン", "お好み",   "予備校",     "すし",       "のんべ",       "コムスン",
              "セミナー"})}));
    list.push_back(patternList("教室", {"*教室*", "*スクール*", "*レッスン*"}));
    list.push_back(patternList(
        "ゴルフ", {"*ゴルフ*", "*カントリークラブ", "*カントリー倶楽部", "*カンツリー*"},
        {only({1}, {"カンツリー", "カントリー"})}));
    list.push_back(contains("テニス", {all({"パブ", "スナック", "喫茶"})}));
    list.push_back(contains("スイミング"));
    list.push_back(patternList("美容院", {"*美容*", "*ヘア*サロン*", "*ビューティー*サロン*"}));
    list.push_back(patternList("理容店", {"*理容*", "*理髪*", "カット*", "*バーバー*"},
                               {all({"バーバーテン", "バーバリー", "バーバーリ"})}));
    list.push_back(contains("役所", {all({"役所前", "店"})}));
    list.push_back(contains("役場"));
    list.push_back(contains("保健所", {all({"保健所前"})}));
    list.push_back(patternList(
        "寺院", {"*寺", "*寺院", "*稲荷"},
        {all(withVowels({"株",       "店",         "有",           "駅",         "薬局",
                         "前",       "苑",         "郵便局",       "科",         "社会",
                         "ハイツ",   "リサイクル", "ヒルズ",       "スポラ",     "ホテル",
                         "イン",     "クラブ",     "クリニック",   "Ｙ",         "サロン",
                         "ハウス",   "スタジオ",   "ソフトバンク", "場",         "販売所",
                         "パソコン", "ガラス",     "ハウジング",   "マンション", "ブック",
                         "カフェ",   "ケア",       "ィ",           "キッチン",   "ヘルス",
                         "ショップ", "コンタクト", "スナック",     "カギ",       "ビル",
                         "Ｆ",       "ー",         "ブティック",   "カラオケ",   "カキ"}))}));
    list.push_back(patternList(
        "神社",
        {"*神社*", "*大社*", "*宮社*", "*神宮*", "*天満宮*", "*東照宮*", "*水天宮*", "*八幡宮*"},
        {all(withVowels({"株",         "店",       "有",     "駅",         "前",         "苑",
                         "郵便局",     "科",       "社会",   "ハイツ",     "ショップ",   "ヒルズ",
                         "ホテル",     "イン",     "クラブ", "クリニック", "ー",         "サロン",
                         "ハウス",     "場",       "販売所", "ガラス",     "ハウジング", "Ｆ",
                         "マンション", "キッチン", "ヘルス", "ビル"}))}));
    list.push_back(contains("教会"));
    list.push_back(contains("ホテル"));
    list.push_back(contains("旅館"));
    list.push_back(patternList("旅行",
                               {"*旅行*", "*トラベル*", "*ツーリスト*", "*観光*", "*ＪＴＢ*",
                                "*ジェイティービー*", "*エイチ*アイ*エス*", "*ツアー*"},
                               {only({4}, {"開発", "不動産", "学院", "事業", "出版"})}));
    list.push_back(contains("銀行"));
    list.push_back(contains("信用金庫"));
    list.push_back(contains("信用組合"));
    list.push_back(contains("農協"));
    list.push_back(
        contains("郵便局", {all({"食堂", "宅", "宿舎", "局長協会", "労働組合", "売店", "前店",
                                 "通店", "寮", "長官舎", "前教室", "ニュース"})}));
    list.push_back(contains("ＮＴＴ"));
    list.push_back(endsWith("駅"));
    list.push_back(contains("タクシー", {all({"研修", "国民年金"})}));
    list.push_back(patternList(
        "運送", {"*急便", "*運輸*", "*引越*", "*運送*", "*配送*", "*バイク便*", "*通運*"},
        {all({"組合", "保健", "保険", "モノレール", "運輸省", "運輸工業"}), allBut({3}, {"引越"}),
         allBut({5}, {"配送"})}));
    list.push_back(
        patternList("マッサージ", {"*マッサージ*", "*指圧*", "*カイロプラクティック*", "*灸*"}));
    list.push_back(patternList("弁護士", {"*法律事務所", "*弁護士"}));
    list.push_back(contains("税理士"));
    list.push_back(contains("会計士"));
    list.push_back(contains("司法書士"));
    list.push_back(contains("警察", {all({"警察前店"})}));
    list.push_back(patternList(
        "薬局", {"*薬局*", "*薬店*", "*くすり*", "*クスリ*", "*ドラック*", "*ドラッグ*"},
        {all({"クスリー"})}));
    list.push_back(contains("図書館"));
    list.push_back(patternList(
        "飲食店",
        {"*料理*",     "*レストラン*", "*割烹*",     "*居酒屋*",   "*パブ*",     "*スナック*",
         "*喫茶*",     "*鮨*",         "*寿司*",     "*寿し*",     "*すし*",     "*鰻*",
         "*うなぎ*",   "*焼肉*",       "*焼き肉*",   "*ステーキ*", "*ラーメン*", "*らーめん*",
         "*らぁめん*", "*中華そば*",   "*中華ソバ*", "*支那そば*", "*支那ソバ*", "*しなそば*",
         "*ぎょうざ*", "*餃子*",       "*そば*",     "*ソバ*",     "*蕎麦*",     "*カレー*",
         "*うどん*"},
        {all({"連盟",         "組合",       "協会",   "基金",     "商社",     "商事",   "教室",
              "事務所",       "自宅",       "作業所", "社長室",   "寮",       "社宅",   "配送",
              "工場",         "工業",       "本社",   "本部",     "事業部",   "部門",   "研修",
              "通販",         "社長宅",     "発売元", "営業",     "センター", "企画室", "社員住宅",
              "連合会",       "観光案内所", "販社",   "支社",     "販売",     "加工",   "財団",
              "施設",         "材料専門",   "事務局", "紹介所",   "会館",     "守る会", "調理士会",
              "割烹部",       "居酒屋部",   "料理部", "仕出部",   "経営専門", "講習",   "駐車場",
              "開発",         "経理",       "物流",   "衛生管理", "仕入部",   "製造部", "総務部",
              "代行サービス", "運営部"}),
         only({1}, {"学校",   "学院",     "スクール", "学園",     "研究",    "調理師会",
                    "カレー", "スナック", "うなぎ",   "鰻",       "居酒屋",  "割烹",
                    "料理室", "ヒント",   "料理の素", "すし",     "寿司",    "寿し",
                    "鮨",     "料理道具", "新聞社",   "スタジオ", "１１０番"}),
         only({2},
              {"らーめん", "ラーメン", "居酒屋", "レストラン部", "エンタプライズ", "料理", "企画",
               "スナック", "システム", "レストランコート", "レストラン街", "フォレスト",
               "ネットワーク", "キッコーマン", "レストランベジ", "クリエイト", "エンタープライズ"}),
         only({3}, {"学校", "学院", "スクール", "学園", "研究", "調理師会", "居酒屋", "レストラン",
                    "製氷", "肉店", "旅館", "焼肉", "鮮魚部"}),
         only({5}, {"喫茶",
                    "レストラン",
                    "パブリック",
                    "居酒屋",
                    "パブコ仙台",
                    "パブレード",
                    "パブリシテ",
                    "パブリッシ",
                    "パブリケーション",
                    "パブロ",
                    "パブリグラフィック",
                    "ワイパ",
                    "トリパブ",
                    "パブリツシヤ",
                    "パブリケイション",
                    "パブリカン",
                    "シューパブ",
                    "ジーシーアイ",
                    "パブリツク",
                    "パブコ",
                    "システム",
                    "パブリシ",
                    "パブリ",
                    "インター",
                    "記念",
                    "（有）",
                    "（株）"}),
         only({6}, {"喫茶", "パブ", "居酒屋", "ティーエス", "スナックフード", "食品", "（株）"}),
         only({7}, {"パブ", "スナック", "コンサルタント部", "直営喫茶部", "レストラン", "ラーメン",
                    "すし", "喫茶部", "調理学院", "専門学院", "学習塾", "育成塾"}),
         only(range(8, 11), {"居酒屋", "レストラン", "システム", "保養所", "割烹", "開発"}),
         only({9}, {"寿司部", "すし", "外商部"}),
         only({11}, {"しょっと", "クリニック", "すしあげ", "はうす", "ゴルフ場", "寿し", "ビジネス",
                     "すし部"}),
         only({12, 13}, {"養殖場", "養鰻", "漁協"}),
         only({12}, {"鰻谷"}),
         only({13}, {"ゆうなぎ", "鰻", "割烹", "うなぎ部"}),
         only(range(14, 16), {"ラーメン", "レストラン", "らーめん"}),
         only({14, 15}, {"居酒屋"}),
         only({16}, {"イエスキリスト", "料理"}),
         only({17}, {"テーラー", "ボイラー", "ソーラー", "メンテナンス", "らーめん", "スナック",
                     "支那そば"}),
         only(join(join(range(17, 24), range(27, 29)), {31}),
              {"製粉", "製麺", "製造", "道場", "麺工房", "製めん", "商店", "加工", "料理", "体験"}),
         only(range(17, 24), {"発明記念館", "カレー", "餃子", "ぎょうざ", "喫茶"}),
         only({25, 26}, {"皮製造", "パブ", "料理", "ぎょうざ部"}),
         only(range(27, 29),
              {"しな", "支那", "沙羅餐", "中華", "道具", "そば粉", "製菓", "居酒屋", "うなぎ",
               "ソバ粉", "蕎麦粉", "畳店", "工務店", "建商", "蕎麦会", "資料館", "直売所"}),
         only({27}, {"そばじま", "そばまくら", "すそばな", "そばかす", "鈴一総本店", "そばの郷温泉",
                     "ほそばら", "農場", "開発", "お菓子"}),
         only({28}, {"イソバン", "ソバカス", "ソバックス", "薬品", "浄化槽", "エスプレッソ",
                     "マック", "スソバナ", "エッソ", "ソバージュ"}),
         only({30}, {"カレージ", "カレーム", "カレーシュ", "レース", "マスカレー", "エスカレー",
                     "カレーズ", "カレーポプレ", "カレーション", "オルンズカレーバー",
                     "カレーラ目黒店", "ステーキ", "製造", "そば", "カレーシング", "カレー粉"}),
         only({31}, {"薬本舗", "ぼてぢゅう", "そば", "製造", "カレー", "うなぎ", "文具店"})}));
    list.push_back(
        patternList("不動産関係", {"*不動産*", "*宅地*", "*住宅*"},
                    {all({"組合"}), only({3}, {"役員住宅", "職員住宅", "雇用促進住宅", "住宅地図",
                                               "住宅ローン", "住宅金融", "建材"})}));
    list.push_back(
        patternList("レンタルショップ", {"*レンタ*", "ゲオ*店", "ＴＳＵＴＡＹＡ*店", "ツタヤ*店"},
                    {all({"バレンタ", "レンタカー", "トヨタ", "日産", "自動車レンタ"})}));
    list.push_back(patternList("レンタカー", {"*レンタカー*", "*自動車レンタ*", "*レンタリース*"}));
    return list;
}

} // namespace

bool ExclusionRule::appliesTo(int patternNo) const {
    const bool listed = std::find(patterns.begin(), patterns.end(), patternNo) != patterns.end();
    switch (applies) {
    case Applies::All:
        return true;
    case Applies::Only:
        return listed;
    case Applies::AllBut:
        return !listed;
    }
    return false;
}

const std::vector<Industry>& builtinIndustries() {
    static const std::vector<Industry> industries = makeIndustries();
    return industries;
}

std::vector<std::string> exclusionWords(const Industry& industry, int patternNo) {
    std::vector<std::string> words;
    for (const ExclusionRule& rule : industry.exclusions) {
        if (rule.appliesTo(patternNo))
            words.insert(words.end(), rule.words.begin(), rule.words.end());
    }
    return words;
}

} // namespace pikotel::gen
