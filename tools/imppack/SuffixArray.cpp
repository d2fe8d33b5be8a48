#include "imppack/SuffixArray.h"

#include <algorithm>

namespace {

using Types = std::vector<bool>;  // true: S-type suffix, false: L-type

bool isLms(const Types& t, std::int32_t i) { return i > 0 && t[i] && !t[i - 1]; }

void bucketBounds(const std::int32_t* s, std::int32_t n, std::int32_t k, std::vector<std::int32_t>& bucket,
                  bool ends) {
    std::fill(bucket.begin(), bucket.end(), 0);
    for (std::int32_t i = 0; i < n; ++i) ++bucket[s[i]];
    std::int32_t sum = 0;
    for (std::int32_t c = 0; c < k; ++c) {
        sum += bucket[c];
        bucket[c] = ends ? sum : sum - bucket[c];
    }
}

void induce(const std::int32_t* s, std::int32_t* sa, std::int32_t n, std::int32_t k, const Types& t,
            std::vector<std::int32_t>& bucket) {
    bucketBounds(s, n, k, bucket, false);
    for (std::int32_t i = 0; i < n; ++i) {
        std::int32_t j = sa[i] - 1;
        if (j >= 0 && !t[j]) sa[bucket[s[j]]++] = j;
    }
    bucketBounds(s, n, k, bucket, true);
    for (std::int32_t i = n - 1; i >= 0; --i) {
        std::int32_t j = sa[i] - 1;
        if (j >= 0 && t[j]) sa[--bucket[s[j]]] = j;
    }
}

// s[n - 1] must be a unique smallest symbol 0; symbols are below k.
void sais(const std::int32_t* s, std::int32_t* sa, std::int32_t n, std::int32_t k) {
    Types t(n, false);
    t[n - 1] = true;
    for (std::int32_t i = n - 2; i >= 0; --i) t[i] = s[i] < s[i + 1] || (s[i] == s[i + 1] && t[i + 1]);

    std::vector<std::int32_t> bucket(k);
    bucketBounds(s, n, k, bucket, true);
    std::fill(sa, sa + n, -1);
    for (std::int32_t i = 1; i < n; ++i)
        if (isLms(t, i)) sa[--bucket[s[i]]] = i;
    induce(s, sa, n, k, t, bucket);

    // Name the sorted LMS substrings; equal substrings share a name.
    std::int32_t n1 = 0;
    for (std::int32_t i = 0; i < n; ++i)
        if (isLms(t, sa[i])) sa[n1++] = sa[i];
    std::fill(sa + n1, sa + n, -1);
    std::int32_t name = 0, previous = -1;
    for (std::int32_t i = 0; i < n1; ++i) {
        std::int32_t pos = sa[i];
        bool differs = false;
        for (std::int32_t d = 0; d < n; ++d) {
            if (previous == -1 || s[pos + d] != s[previous + d] || t[pos + d] != t[previous + d]) {
                differs = true;
                break;
            }
            if (d > 0 && (isLms(t, pos + d) || isLms(t, previous + d))) break;
        }
        if (differs) {
            ++name;
            previous = pos;
        }
        sa[n1 + pos / 2] = name - 1;
    }
    for (std::int32_t i = n - 1, j = n - 1; i >= n1; --i)
        if (sa[i] >= 0) sa[j--] = sa[i];

    // Sort the reduced string, recursively when names repeat.
    std::int32_t* s1 = sa + n - n1;
    if (name < n1) {
        sais(s1, sa, n1, name);
    } else {
        for (std::int32_t i = 0; i < n1; ++i) sa[s1[i]] = i;
    }

    // Place the LMS suffixes in their sorted order and induce the rest.
    bucketBounds(s, n, k, bucket, true);
    for (std::int32_t i = 1, j = 0; i < n; ++i)
        if (isLms(t, i)) s1[j++] = i;
    for (std::int32_t i = 0; i < n1; ++i) sa[i] = s1[sa[i]];
    std::fill(sa + n1, sa + n, -1);
    for (std::int32_t i = n1 - 1; i >= 0; --i) {
        std::int32_t j = sa[i];
        sa[i] = -1;
        sa[--bucket[s[j]]] = j;
    }
    induce(s, sa, n, k, t, bucket);
}

}  // namespace

std::vector<std::int32_t> suffixArray(const std::uint8_t* data, std::size_t n) {
    std::vector<std::int32_t> sa(n + 1);
    if (n == 0) {
        sa[0] = 0;
        return sa;
    }
    std::vector<std::int32_t> s(n + 1);
    for (std::size_t i = 0; i < n; ++i) s[i] = data[i] + 1;
    s[n] = 0;
    sais(s.data(), sa.data(), static_cast<std::int32_t>(n + 1), 257);
    return sa;
}
