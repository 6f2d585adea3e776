// What the parser remembers of its trials: while guessing a rule runs no
// action, so whether it holds at a token position, where it ends and which
// rule name it leaves behind depend on that position alone. Each outcome is
// worked out once per parse, which keeps nested trials linear.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

class TrialMemo {
public:
    // The rules whose outcomes are remembered.
    enum Rule { Variable, PrimaryExpression, Expression, RuleCount };

    struct Outcome {
        bool held = false;
        long end = 0;          // token position after the rule when it held
        const char* ruleName = "";  // the parser's rule name when the rule returned (a literal)
    };

    const Outcome* find(Rule rule, long position) const
    {
        auto it = outcomes.find(key(rule, position));
        return it == outcomes.end() ? nullptr : &it->second;
    }

    void remember(Rule rule, long position, Outcome outcome)
    {
        outcomes[key(rule, position)] = std::move(outcome);
    }

    // No trial starts before the position the parse has consumed to, so the
    // outcomes there are dropped once the table has grown enough.
    void forgetBefore(long position)
    {
        if (outcomes.size() < pruneAt) return;
        for (auto it = outcomes.begin(); it != outcomes.end();) {
            if (static_cast<long>(it->first / RuleCount) < position)
                it = outcomes.erase(it);
            else
                ++it;
        }
        pruneAt = outcomes.size() * 2 < minimumPruneSize ? minimumPruneSize : outcomes.size() * 2;
    }

    // Calls f(rule, position, outcome) for every outcome remembered.
    template <class F>
    void forEach(F f) const
    {
        for (const auto& entry : outcomes)
            f(static_cast<Rule>(entry.first % RuleCount), static_cast<long>(entry.first / RuleCount), entry.second);
    }

    std::size_t size() const { return outcomes.size(); }
    void clear() { outcomes.clear(); }

private:
    static std::uint64_t key(Rule rule, long position)
    {
        return static_cast<std::uint64_t>(position) * RuleCount + static_cast<std::uint64_t>(rule);
    }

    static constexpr std::size_t minimumPruneSize = 4096;
    std::unordered_map<std::uint64_t, Outcome> outcomes;
    std::size_t pruneAt = minimumPruneSize;
};
