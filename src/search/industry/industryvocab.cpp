#include "search/industry/industryvocab.h"

#include "common/textfold.h"

#include <algorithm>

namespace pikotel::industry {

namespace {

using P = PatternSet;

// コンビニ (the spaces are ideographic spaces, U+3000)
constexpr QStringView kConveniencePatterns[] = {
    u"*ａｍ*ｐｍ*",        u"エーエム*ピーエム*", u"*ココストア*",      u"*ホットスパー*",
    u"サークルＫ*店*",     u"サンクス*店",        u"*サンクス　*",      u"*サンクス*　*店",
    u"*スリーエフ*",       u"*セイコーマート*",   u"*セブン*イレブン*", u"*デイリーヤマザキ*",
    u"*ヤマザキデイリー*", u"*ファミリーマート*", u"ポプラ*店",         u"*ポプラ　*",
    u"*生活彩家*",         u"*ハイウェイ彩家*",   u"*くらしハウス*",    u"スリーエイト*店",
    u"*ミニストップ*",     u"*ローソン*"};

// 病院
constexpr QStringView kHospitalPatterns[] = {u"*病院*"};
constexpr QStringView kHospitalWords[] = {u"レストラン", u"店"};
constexpr ExclusionRule kHospitalRules[] = {{P::all(), kHospitalWords}};

// 歯科
constexpr QStringView kDentalPatterns[] = {u"*歯科", u"*歯科医院", u"*デンタル*クリニック*"};

// 中学校
constexpr QStringView kJuniorHighPatterns[] = {u"*中学校", u"*中等教育*"};

// 高校
constexpr QStringView kHighSchoolPatterns[] = {u"*高校", u"*高等学校"};

// 専門学校
constexpr QStringView kVocationalPatterns[] = {u"*専門学校", u"*専修学校"};

// 大学
constexpr QStringView kUniversityPatterns[] = {u"*大学*"};
constexpr QStringView kUniversityWords[] = {
    u"ラーメン",   u"店",       u"駅",         u"病院",       u"薬局",         u"大学堂",
    u"前",         u"附属",     u"学力増進",   u"診療所",     u"営業所",       u"専門学校",
    u"やきとり",   u"ホルモン", u"庁",         u"麻雀",       u"なるい",       u"ＬＥＣ",
    u"ショップ",   u"バンク",   u"クリニック", u"マンション", u"小学校",       u"中学校",
    u"高等学校",   u"受験",     u"カラオケ",   u"パチンコ",   u"ショッピング", u"マンガ喫茶",
    u"マージャン", u"お好み",   u"予備校",     u"すし",       u"のんべ",       u"コムスン",
    u"セミナー"};
constexpr ExclusionRule kUniversityRules[] = {{P::all(), kUniversityWords}};

// 教室
constexpr QStringView kClassesPatterns[] = {u"*教室*", u"*スクール*", u"*レッスン*"};

// ゴルフ
constexpr QStringView kGolfPatterns[] = {u"*ゴルフ*", u"*カントリークラブ", u"*カントリー倶楽部",
                                         u"*カンツリー*"};
constexpr QStringView kGolfWords1[] = {u"カンツリー", u"カントリー"};
constexpr ExclusionRule kGolfRules[] = {{P::only(1), kGolfWords1}};

// テニス
constexpr QStringView kTennisWords[] = {u"パブ", u"スナック", u"喫茶"};
constexpr ExclusionRule kTennisRules[] = {{P::all(), kTennisWords}};

// 美容院
constexpr QStringView kBeautySalonPatterns[] = {u"*美容*", u"*ヘア*サロン*",
                                                u"*ビューティー*サロン*"};

// 理容店
constexpr QStringView kBarberPatterns[] = {u"*理容*", u"*理髪*", u"カット*", u"*バーバー*"};
constexpr QStringView kBarberWords[] = {u"バーバーテン", u"バーバリー", u"バーバーリ"};
constexpr ExclusionRule kBarberRules[] = {{P::all(), kBarberWords}};

// 役所
constexpr QStringView kCityOfficeWords[] = {u"役所前", u"店"};
constexpr ExclusionRule kCityOfficeRules[] = {{P::all(), kCityOfficeWords}};

// 保健所
constexpr QStringView kHealthCentreWords[] = {u"保健所前"};
constexpr ExclusionRule kHealthCentreRules[] = {{P::all(), kHealthCentreWords}};

// 寺院
constexpr QStringView kTemplePatterns[] = {u"*寺", u"*寺院", u"*稲荷"};
constexpr QStringView kTempleWords[] = {
    u"株",         u"店",       u"有",     u"駅",         u"薬局",         u"前",
    u"苑",         u"郵便局",   u"科",     u"社会",       u"ハイツ",       u"リサイクル",
    u"ヒルズ",     u"スポラ",   u"ホテル", u"イン",       u"クラブ",       u"クリニック",
    u"Ｙ",         u"サロン",   u"ハウス", u"スタジオ",   u"ソフトバンク", u"場",
    u"販売所",     u"パソコン", u"ガラス", u"ハウジング", u"マンション",   u"ブック",
    u"カフェ",     u"ケア",     u"ィ",     u"キッチン",   u"ヘルス",       u"ショップ",
    u"コンタクト", u"スナック", u"カギ",   u"ビル",       u"Ｆ",           u"ａ",
    u"ｉ",         u"ｕ",       u"ｅ",     u"ｏ",         u"Ａ",           u"Ｉ",
    u"Ｕ",         u"Ｅ",       u"Ｏ",     u"ー",         u"ブティック",   u"カラオケ",
    u"カキ"};
constexpr ExclusionRule kTempleRules[] = {{P::all(), kTempleWords}};

// 神社
constexpr QStringView kShrinePatterns[] = {u"*神社*",   u"*大社*",   u"*宮社*",   u"*神宮*",
                                           u"*天満宮*", u"*東照宮*", u"*水天宮*", u"*八幡宮*"};
constexpr QStringView kShrineWords[] = {
    u"株",     u"店",         u"有",     u"駅",         u"前",       u"苑",     u"郵便局",
    u"科",     u"社会",       u"ハイツ", u"ショップ",   u"ヒルズ",   u"ホテル", u"イン",
    u"クラブ", u"クリニック", u"ー",     u"サロン",     u"ハウス",   u"場",     u"販売所",
    u"ガラス", u"ハウジング", u"Ｆ",     u"マンション", u"キッチン", u"ヘルス", u"ビル",
    u"ａ",     u"ｉ",         u"ｕ",     u"ｅ",         u"ｏ",       u"Ａ",     u"Ｉ",
    u"Ｕ",     u"Ｅ",         u"Ｏ"};
constexpr ExclusionRule kShrineRules[] = {{P::all(), kShrineWords}};

// 旅行
constexpr QStringView kTravelPatterns[] = {
    u"*旅行*",   u"*トラベル*",         u"*ツーリスト*",       u"*観光*",
    u"*ＪＴＢ*", u"*ジェイティービー*", u"*エイチ*アイ*エス*", u"*ツアー*"};
constexpr QStringView kTravelWords4[] = {u"開発", u"不動産", u"学院", u"事業", u"出版"};
constexpr ExclusionRule kTravelRules[] = {{P::only(4), kTravelWords4}};

// 郵便局
constexpr QStringView kPostOfficeWords[] = {u"食堂",     u"宅",     u"宿舎",   u"局長協会",
                                            u"労働組合", u"売店",   u"前店",   u"通店",
                                            u"寮",       u"長官舎", u"前教室", u"ニュース"};
constexpr ExclusionRule kPostOfficeRules[] = {{P::all(), kPostOfficeWords}};

// タクシー
constexpr QStringView kTaxiWords[] = {u"研修", u"国民年金"};
constexpr ExclusionRule kTaxiRules[] = {{P::all(), kTaxiWords}};

// 運送
constexpr QStringView kTransportPatterns[] = {u"*急便",  u"*運輸*",     u"*引越*", u"*運送*",
                                              u"*配送*", u"*バイク便*", u"*通運*"};
constexpr QStringView kTransportWords[] = {u"組合",       u"保健",   u"保険",
                                           u"モノレール", u"運輸省", u"運輸工業"};
constexpr QStringView kTransportWordsBut3[] = {u"引越"};
constexpr QStringView kTransportWordsBut5[] = {u"配送"};
constexpr ExclusionRule kTransportRules[] = {{P::all(), kTransportWords},
                                             {P::allBut(3), kTransportWordsBut3},
                                             {P::allBut(5), kTransportWordsBut5}};

// マッサージ
constexpr QStringView kMassagePatterns[] = {u"*マッサージ*", u"*指圧*", u"*カイロプラクティック*",
                                            u"*灸*"};

// 弁護士
constexpr QStringView kLawyerPatterns[] = {u"*法律事務所", u"*弁護士"};

// 警察
constexpr QStringView kPoliceWords[] = {u"警察前店"};
constexpr ExclusionRule kPoliceRules[] = {{P::all(), kPoliceWords}};

// 薬局
constexpr QStringView kPharmacyPatterns[] = {u"*薬局*",   u"*薬店*",     u"*くすり*",
                                             u"*クスリ*", u"*ドラック*", u"*ドラッグ*"};
constexpr QStringView kPharmacyWords[] = {u"クスリー"};
constexpr ExclusionRule kPharmacyRules[] = {{P::all(), kPharmacyWords}};

// 飲食店
constexpr QStringView kRestaurantPatterns[] = {
    u"*料理*",     u"*レストラン*", u"*割烹*",     u"*居酒屋*",   u"*パブ*",     u"*スナック*",
    u"*喫茶*",     u"*鮨*",         u"*寿司*",     u"*寿し*",     u"*すし*",     u"*鰻*",
    u"*うなぎ*",   u"*焼肉*",       u"*焼き肉*",   u"*ステーキ*", u"*ラーメン*", u"*らーめん*",
    u"*らぁめん*", u"*中華そば*",   u"*中華ソバ*", u"*支那そば*", u"*支那ソバ*", u"*しなそば*",
    u"*ぎょうざ*", u"*餃子*",       u"*そば*",     u"*ソバ*",     u"*蕎麦*",     u"*カレー*",
    u"*うどん*"};
constexpr QStringView kRestaurantWords[] = {
    u"連盟",         u"組合",       u"協会",   u"基金",     u"商社",     u"商事",   u"教室",
    u"事務所",       u"自宅",       u"作業所", u"社長室",   u"寮",       u"社宅",   u"配送",
    u"工場",         u"工業",       u"本社",   u"本部",     u"事業部",   u"部門",   u"研修",
    u"通販",         u"社長宅",     u"発売元", u"営業",     u"センター", u"企画室", u"社員住宅",
    u"連合会",       u"観光案内所", u"販社",   u"支社",     u"販売",     u"加工",   u"財団",
    u"施設",         u"材料専門",   u"事務局", u"紹介所",   u"会館",     u"守る会", u"調理士会",
    u"割烹部",       u"居酒屋部",   u"料理部", u"仕出部",   u"経営専門", u"講習",   u"駐車場",
    u"開発",         u"経理",       u"物流",   u"衛生管理", u"仕入部",   u"製造部", u"総務部",
    u"代行サービス", u"運営部"};
constexpr QStringView kRestaurantWords1[] = {
    u"学校",   u"学院", u"スクール", u"学園",     u"研究",   u"調理師会", u"カレー",   u"スナック",
    u"うなぎ", u"鰻",   u"居酒屋",   u"割烹",     u"料理室", u"ヒント",   u"料理の素", u"すし",
    u"寿司",   u"寿し", u"鮨",       u"料理道具", u"新聞社", u"スタジオ", u"１１０番"};
constexpr QStringView kRestaurantWords2[] = {u"らーめん",
                                             u"ラーメン",
                                             u"居酒屋",
                                             u"レストラン部",
                                             u"エンタプライズ",
                                             u"料理",
                                             u"企画",
                                             u"スナック",
                                             u"システム",
                                             u"レストランコート",
                                             u"レストラン街",
                                             u"フォレスト",
                                             u"ネットワーク",
                                             u"キッコーマン",
                                             u"レストランベジ",
                                             u"クリエイト",
                                             u"エンタープライズ"};
constexpr QStringView kRestaurantWords3[] = {
    u"学校",       u"学院", u"スクール", u"学園", u"研究", u"調理師会", u"居酒屋",
    u"レストラン", u"製氷", u"肉店",     u"旅館", u"焼肉", u"鮮魚部"};
constexpr QStringView kRestaurantWords5[] = {u"喫茶",
                                             u"レストラン",
                                             u"パブリック",
                                             u"居酒屋",
                                             u"パブコ仙台",
                                             u"パブレード",
                                             u"パブリシテ",
                                             u"パブリッシ",
                                             u"パブリケーション",
                                             u"パブロ",
                                             u"パブリグラフィック",
                                             u"ワイパ",
                                             u"トリパブ",
                                             u"パブリツシヤ",
                                             u"パブリケイション",
                                             u"パブリカン",
                                             u"シューパブ",
                                             u"ジーシーアイ",
                                             u"パブリツク",
                                             u"パブコ",
                                             u"システム",
                                             u"パブリシ",
                                             u"パブリ",
                                             u"インター",
                                             u"記念",
                                             u"（有）",
                                             u"（株）"};
constexpr QStringView kRestaurantWords6[] = {u"喫茶",           u"パブ", u"居酒屋", u"ティーエス",
                                             u"スナックフード", u"食品", u"（株）"};
constexpr QStringView kRestaurantWords7[] = {
    u"パブ", u"スナック", u"コンサルタント部", u"直営喫茶部", u"レストラン", u"ラーメン",
    u"すし", u"喫茶部",   u"調理学院",         u"専門学院",   u"学習塾",     u"育成塾"};
constexpr QStringView kRestaurantWords8_11[] = {u"居酒屋", u"レストラン", u"システム",
                                                u"保養所", u"割烹",       u"開発"};
constexpr QStringView kRestaurantWords9[] = {u"寿司部", u"すし", u"外商部"};
constexpr QStringView kRestaurantWords11[] = {u"しょっと", u"クリニック", u"すしあげ", u"はうす",
                                              u"ゴルフ場", u"寿し",       u"ビジネス", u"すし部"};
constexpr QStringView kRestaurantWords12_13[] = {u"養殖場", u"養鰻", u"漁協"};
constexpr QStringView kRestaurantWords12[] = {u"鰻谷"};
constexpr QStringView kRestaurantWords13[] = {u"ゆうなぎ", u"鰻", u"割烹", u"うなぎ部"};
constexpr QStringView kRestaurantWords14_16[] = {u"ラーメン", u"レストラン", u"らーめん"};
constexpr QStringView kRestaurantWords14_15[] = {u"居酒屋"};
constexpr QStringView kRestaurantWords16[] = {u"イエスキリスト", u"料理"};
constexpr QStringView kRestaurantWords17[] = {
    u"テーラー", u"ボイラー", u"ソーラー", u"メンテナンス", u"らーめん", u"スナック", u"支那そば"};
constexpr QStringView kRestaurantWords17_24_27_29_31[] = {
    u"製粉", u"製麺", u"製造", u"道場", u"麺工房", u"製めん", u"商店", u"加工", u"料理", u"体験"};
constexpr QStringView kRestaurantWords17_24[] = {u"発明記念館", u"カレー", u"餃子", u"ぎょうざ",
                                                 u"喫茶"};
constexpr QStringView kRestaurantWords25_26[] = {u"皮製造", u"パブ", u"料理", u"ぎょうざ部"};
constexpr QStringView kRestaurantWords27_29[] = {
    u"しな",   u"支那",   u"沙羅餐", u"中華",   u"道具", u"そば粉", u"製菓",   u"居酒屋", u"うなぎ",
    u"ソバ粉", u"蕎麦粉", u"畳店",   u"工務店", u"建商", u"蕎麦会", u"資料館", u"直売所"};
constexpr QStringView kRestaurantWords27[] = {
    u"そばじま",     u"そばまくら", u"すそばな", u"そばかす", u"鈴一総本店",
    u"そばの郷温泉", u"ほそばら",   u"農場",     u"開発",     u"お菓子"};
constexpr QStringView kRestaurantWords28[] = {
    u"イソバン",     u"ソバカス", u"ソバックス", u"薬品",   u"浄化槽",
    u"エスプレッソ", u"マック",   u"スソバナ",   u"エッソ", u"ソバージュ"};
constexpr QStringView kRestaurantWords30[] = {
    u"カレージ",       u"カレーム", u"カレーシュ",   u"レース",       u"マスカレー",
    u"エスカレー",     u"カレーズ", u"カレーポプレ", u"カレーション", u"オルンズカレーバー",
    u"カレーラ目黒店", u"ステーキ", u"製造",         u"そば",         u"カレーシング",
    u"カレー粉"};
constexpr QStringView kRestaurantWords31[] = {u"薬本舗", u"ぼてぢゅう", u"そば",  u"製造",
                                              u"カレー", u"うなぎ",     u"文具店"};
constexpr ExclusionRule kRestaurantRules[] = {
    {P::all(), kRestaurantWords},
    {P::only(1), kRestaurantWords1},
    {P::only(2), kRestaurantWords2},
    {P::only(3), kRestaurantWords3},
    {P::only(5), kRestaurantWords5},
    {P::only(6), kRestaurantWords6},
    {P::only(7), kRestaurantWords7},
    {P::range(8, 11), kRestaurantWords8_11},
    {P::only(9), kRestaurantWords9},
    {P::only(11), kRestaurantWords11},
    {P::only(12) | P::only(13), kRestaurantWords12_13},
    {P::only(12), kRestaurantWords12},
    {P::only(13), kRestaurantWords13},
    {P::range(14, 16), kRestaurantWords14_16},
    {P::only(14) | P::only(15), kRestaurantWords14_15},
    {P::only(16), kRestaurantWords16},
    {P::only(17), kRestaurantWords17},
    {P::range(17, 24) | P::range(27, 29) | P::only(31), kRestaurantWords17_24_27_29_31},
    {P::range(17, 24), kRestaurantWords17_24},
    {P::only(25) | P::only(26), kRestaurantWords25_26},
    {P::range(27, 29), kRestaurantWords27_29},
    {P::only(27), kRestaurantWords27},
    {P::only(28), kRestaurantWords28},
    {P::only(30), kRestaurantWords30},
    {P::only(31), kRestaurantWords31}};

// 不動産関係
constexpr QStringView kRealEstatePatterns[] = {u"*不動産*", u"*宅地*", u"*住宅*"};
constexpr QStringView kRealEstateWords[] = {u"組合"};
constexpr QStringView kRealEstateWords3[] = {
    u"役員住宅", u"職員住宅", u"雇用促進住宅", u"住宅地図", u"住宅ローン", u"住宅金融", u"建材"};
constexpr ExclusionRule kRealEstateRules[] = {{P::all(), kRealEstateWords},
                                              {P::only(3), kRealEstateWords3}};

// レンタルショップ
constexpr QStringView kRentalShopPatterns[] = {u"*レンタ*", u"ゲオ*店", u"ＴＳＵＴＡＹＡ*店",
                                               u"ツタヤ*店"};
constexpr QStringView kRentalShopWords[] = {u"バレンタ", u"レンタカー", u"トヨタ", u"日産",
                                            u"自動車レンタ"};
constexpr ExclusionRule kRentalShopRules[] = {{P::all(), kRentalShopWords}};

// レンタカー
constexpr QStringView kCarRentalPatterns[] = {u"*レンタカー*", u"*自動車レンタ*",
                                              u"*レンタリース*"};

constexpr Industry kIndustries[] = {
    {u"コンビニ", Kind::PatternList, kConveniencePatterns, {}},
    {u"病院", Kind::PatternList, kHospitalPatterns, kHospitalRules},
    {u"医院", Kind::EndsWith, {}, {}},
    {u"クリニック", Kind::Contains, {}, {}},
    {u"診療所", Kind::EndsWith, {}, {}},
    {u"歯科", Kind::PatternList, kDentalPatterns, {}},
    {u"保育園", Kind::EndsWith, {}, {}},
    {u"幼稚園", Kind::EndsWith, {}, {}},
    {u"小学校", Kind::EndsWith, {}, {}},
    {u"中学校", Kind::PatternList, kJuniorHighPatterns, {}},
    {u"高校", Kind::PatternList, kHighSchoolPatterns, {}},
    {u"専門学校", Kind::PatternList, kVocationalPatterns, {}},
    {u"大学", Kind::PatternList, kUniversityPatterns, kUniversityRules},
    {u"教室", Kind::PatternList, kClassesPatterns, {}},
    {u"ゴルフ", Kind::PatternList, kGolfPatterns, kGolfRules},
    {u"テニス", Kind::Contains, {}, kTennisRules},
    {u"スイミング", Kind::Contains, {}, {}},
    {u"美容院", Kind::PatternList, kBeautySalonPatterns, {}},
    {u"理容店", Kind::PatternList, kBarberPatterns, kBarberRules},
    {u"役所", Kind::Contains, {}, kCityOfficeRules},
    {u"役場", Kind::Contains, {}, {}},
    {u"保健所", Kind::Contains, {}, kHealthCentreRules},
    {u"寺院", Kind::PatternList, kTemplePatterns, kTempleRules},
    {u"神社", Kind::PatternList, kShrinePatterns, kShrineRules},
    {u"教会", Kind::Contains, {}, {}},
    {u"ホテル", Kind::Contains, {}, {}},
    {u"旅館", Kind::Contains, {}, {}},
    {u"旅行", Kind::PatternList, kTravelPatterns, kTravelRules},
    {u"銀行", Kind::Contains, {}, {}},
    {u"信用金庫", Kind::Contains, {}, {}},
    {u"信用組合", Kind::Contains, {}, {}},
    {u"農協", Kind::Contains, {}, {}},
    {u"郵便局", Kind::Contains, {}, kPostOfficeRules},
    {u"ＮＴＴ", Kind::Contains, {}, {}},
    {u"駅", Kind::EndsWith, {}, {}},
    {u"タクシー", Kind::Contains, {}, kTaxiRules},
    {u"運送", Kind::PatternList, kTransportPatterns, kTransportRules},
    {u"マッサージ", Kind::PatternList, kMassagePatterns, {}},
    {u"弁護士", Kind::PatternList, kLawyerPatterns, {}},
    {u"税理士", Kind::Contains, {}, {}},
    {u"会計士", Kind::Contains, {}, {}},
    {u"司法書士", Kind::Contains, {}, {}},
    {u"警察", Kind::Contains, {}, kPoliceRules},
    {u"薬局", Kind::PatternList, kPharmacyPatterns, kPharmacyRules},
    {u"図書館", Kind::Contains, {}, {}},
    {u"飲食店", Kind::PatternList, kRestaurantPatterns, kRestaurantRules},
    {u"不動産関係", Kind::PatternList, kRealEstatePatterns, kRealEstateRules},
    {u"レンタルショップ", Kind::PatternList, kRentalShopPatterns, kRentalShopRules},
    {u"レンタカー", Kind::PatternList, kCarRentalPatterns, {}},
};

static_assert(std::ranges::all_of(kIndustries, [](const Industry& i) {
    return i.patternList.size() <= static_cast<std::size_t>(kMaxPatterns);
}));

} // namespace

std::span<const Industry> builtinIndustries() {
    return kIndustries;
}

const Industry* findIndustry(QStringView name) {
    const auto it = std::find_if(std::begin(kIndustries), std::end(kIndustries),
                                 [&](const Industry& i) { return i.name == name; });
    return it == std::end(kIndustries) ? nullptr : &*it;
}

QStringList searchPatterns(const Industry& industry) {
    const QString name = industry.name.toString();
    switch (industry.kind) {
    case Kind::Contains:
        return {u'*' + name + u'*'};
    case Kind::EndsWith:
        return {u'*' + name};
    case Kind::BeginsWith:
        return {name + u'*'};
    case Kind::PatternList:
    case Kind::Original:
        break;
    }
    QStringList patterns;
    for (const QStringView pattern : industry.patternList)
        patterns.append(pattern.toString());
    return patterns;
}

QStringList exclusionWords(const Industry& industry, int patternNo) {
    QStringList words;
    for (const ExclusionRule& rule : industry.exclusions) {
        if (!rule.patterns.contains(patternNo))
            continue;
        for (const QStringView word : rule.words)
            words.append(word.toString());
    }
    return words;
}

QStringList patternLiterals(QStringView pattern) {
    QStringList pieces;
    for (const QStringView piece : pattern.split(u'*', Qt::SkipEmptyParts))
        pieces.append(piece.toString());
    return pieces;
}

bool defeatsPattern(const QString& word, QStringView pattern) {
    if (word.isEmpty())
        return false;
    const QStringList pieces = patternLiterals(pattern);
    return std::any_of(pieces.begin(), pieces.end(),
                       [&](const QString& piece) { return textContains(piece, word); });
}

QStringList applicableExclusionWords(const Industry& industry, int patternNo) {
    const QStringList patterns = searchPatterns(industry);
    if (patternNo < 1 || patternNo > patterns.size())
        return {};
    QStringList words = exclusionWords(industry, patternNo);
    words.removeIf(
        [&](const QString& word) { return defeatsPattern(word, patterns[patternNo - 1]); });
    return words;
}

std::vector<SelfDefeatingWord> selfDefeatingWords() {
    std::vector<SelfDefeatingWord> found;
    for (const Industry& industry : kIndustries) {
        const QStringList patterns = searchPatterns(industry);
        for (int p = 1; p <= patterns.size(); ++p) {
            for (const QString& word : exclusionWords(industry, p)) {
                if (defeatsPattern(word, patterns[p - 1]))
                    found.push_back({industry.name, p, patterns[p - 1], word});
            }
        }
    }
    return found;
}

} // namespace pikotel::industry
