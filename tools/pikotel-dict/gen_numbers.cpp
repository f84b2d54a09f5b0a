#include "gen_numbers.h"

#include "gen_areacodes.h"
#include "gen_random.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace pikotel::gen {

namespace {

constexpr std::uint32_t kPrefixes = 1'000'000;

std::uint32_t pow10(std::size_t n) {
    std::uint32_t v = 1;
    while (n-- > 0)
        v *= 10;
    return v;
}

std::uint32_t digitsValue(const std::string& digits) {
    std::uint32_t v = 0;
    for (const char c : digits)
        v = v * 10 + static_cast<std::uint32_t>(c - '0');
    return v;
}

void appendDigits(std::string* out, std::uint32_t value, std::size_t width) {
    char buffer[8];
    for (std::size_t i = width; i-- > 0;) {
        buffer[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out->append(buffer, width);
}

} // namespace

bool NumberPlan::init(AddressBook& book, QString* error) {
    codes_.clear();
    groups_.clear();
    for (const std::string& code : book.areaCodes) {
        if (code.size() < 2 || code.size() > 5 || code[0] != '0' ||
            !std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            *error = QStringLiteral("bad area code %1").arg(QString::fromStdString(code));
            return false;
        }
        AreaCode entry;
        entry.digits = code;
        codes_.push_back(std::move(entry));
    }

    // Shorter claims first, so a longer one takes over its part of a shorter one's range.
    struct Claim {
        std::string prefix;
        std::uint32_t code;
    };
    std::vector<Claim> claims;
    for (std::uint32_t i = 0; i < codes_.size(); ++i) {
        for (const std::string& prefix : areaCodeClaims(codes_[i].digits))
            claims.push_back({prefix, i});
    }
    std::stable_sort(claims.begin(), claims.end(), [](const Claim& a, const Claim& b) {
        return a.prefix.size() < b.prefix.size();
    });
    std::vector<std::int32_t> owner(kPrefixes, -1);
    for (const Claim& claim : claims) {
        const std::uint32_t span = pow10(6 - claim.prefix.size());
        const std::uint32_t base = digitsValue(claim.prefix) * span;
        std::fill(owner.begin() + base, owner.begin() + base + span,
                  static_cast<std::int32_t>(claim.code));
    }
    for (std::uint32_t prefix = 0; prefix < kPrefixes; ++prefix) {
        if (owner[prefix] < 0)
            continue;
        AreaCode& code = codes_[owner[prefix]];
        // A local exchange code never begins with 0 or 1.
        const std::uint32_t firstExchangeDigit = prefix / pow10(6 - code.digits.size() - 1) % 10;
        if (firstExchangeDigit >= 2)
            code.prefixes.push_back(prefix);
    }
    for (AreaCode& code : codes_) {
        const std::uint64_t n = code.prefixes.size();
        if (n == 0) {
            *error = QStringLiteral("area code %1 has no exchange codes")
                         .arg(QString::fromStdString(code.digits));
            return false;
        }
        // A stride coprime with the pool walks every exchange once, in a scattered order.
        code.used.assign(n, 0);
        code.offset.assign(n, 0);
        code.start = stableHash(code.digits) % n;
        code.stride = n * 618 / 1000 + 1;
        while (std::gcd(code.stride, n) != 1)
            ++code.stride;
    }

    // Consecutive towns of an area code share groups; at most a quarter of the exchanges
    // start out taken, so a busy group always finds another.
    std::vector<std::vector<std::uint32_t>> townsOfCode(codes_.size());
    std::vector<bool> used(book.towns.size(), false);
    for (const Address& address : book.addresses)
        used[address.town] = true;
    for (std::uint32_t t = 0; t < book.towns.size(); ++t) {
        if (used[t])
            townsOfCode[book.towns[t].areaCode].push_back(t);
    }
    for (std::uint32_t c = 0; c < codes_.size(); ++c) {
        const std::vector<std::uint32_t>& towns = townsOfCode[c];
        if (towns.empty())
            continue;
        const std::uint64_t groupCount = std::max<std::uint64_t>(
            1, std::min<std::uint64_t>(towns.size(), codes_[c].prefixes.size() / 4));
        const auto first = static_cast<std::uint32_t>(groups_.size());
        for (std::uint64_t g = 0; g < groupCount; ++g)
            groups_.push_back({c, 0, 0});
        for (std::size_t i = 0; i < towns.size(); ++i)
            book.towns[towns[i]].group =
                first + static_cast<std::uint32_t>(i * groupCount / towns.size());
    }
    return true;
}

bool NumberPlan::takeExchange(Group& group) {
    AreaCode& code = codes_[group.areaCode];
    const std::uint64_t n = code.prefixes.size();
    if (code.taken < n) {
        const auto prefix = static_cast<std::uint32_t>((code.start + code.taken * code.stride) % n);
        ++code.taken;
        const std::uint64_t hash = stableHash(std::to_string(code.prefixes[prefix]));
        code.offset[prefix] = static_cast<std::uint32_t>(hash % kPerExchange);
        group.prefix = prefix;
        // A busy area spreads over several exchanges, as towns served by one office do,
        // while three quarters of the code's exchanges are free; then each is filled up.
        group.quota = code.taken * 4 < n * 3
                          ? kSpreadMin + static_cast<std::uint32_t>(hash % kSpreadRange)
                          : kPerExchange;
        return true;
    }
    for (; code.refill < n; ++code.refill) {
        const auto prefix = static_cast<std::uint32_t>(code.refill);
        if (code.used[prefix] < kPerExchange) {
            group.prefix = prefix;
            group.quota = kPerExchange - code.used[prefix];
            return true;
        }
    }
    return false;
}

bool NumberPlan::next(const Town& town, PhoneNumber* number, QString* error) {
    Group& group = groups_[town.group];
    AreaCode& code = codes_[group.areaCode];
    // Another group may have filled the exchange since this one took it.
    if ((group.quota == 0 || code.used[group.prefix] == kPerExchange) && !takeExchange(group)) {
        *error = QStringLiteral("area code %1 has no free exchange left; ask for fewer listings")
                     .arg(QString::fromStdString(code.digits));
        return false;
    }
    const std::uint32_t exchange = code.prefixes[group.prefix];
    std::uint32_t& used = code.used[group.prefix];
    // 7919 is coprime with 10,000: the subscriber numbers of an exchange never repeat.
    const std::uint32_t subscriber = (used * 7919 + code.offset[group.prefix]) % kPerExchange;
    ++used;
    --group.quota;

    const std::size_t codeLength = code.digits.size();
    number->exchange = exchange;
    number->display.clear();
    number->display.append(code.digits);
    number->display.push_back('-');
    appendDigits(&number->display, exchange % pow10(6 - codeLength), 6 - codeLength);
    number->display.push_back('-');
    appendDigits(&number->display, subscriber, 4);
    return true;
}

} // namespace pikotel::gen
