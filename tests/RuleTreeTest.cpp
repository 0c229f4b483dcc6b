#include "rules/RuleNode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Stands in for the folder scan: records which items were asked to run and which were deleted,
// and can ask to stop.
class RecordingItem : public CRuleItem
{
public:
    RecordingItem(const char* name, std::vector<std::string>& log, int use = 1, int result = 1)
        : m_log(log), m_nResult(result)
    {
        m_strName = name;
        m_bUse = use;
    }
    ~RecordingItem() override { m_log.push_back("~" + std::string(m_strName.GetString())); }

    int Run(CResultList*, BOOL) override
    {
        m_log.push_back(static_cast<LPCSTR>(m_strName));
        return m_nResult;
    }

private:
    std::vector<std::string>& m_log;
    int m_nResult;
};

CRuleGroup* AddGroup(CRuleRoot& root, int use)
{
    auto* group = static_cast<CRuleGroup*>(root.AddChild(new CRuleGroup));
    group->RemoveAllChildren();
    group->m_bUse = use;
    return group;
}

}

TEST(RuleTreeSelection, WorkAndRunsFollowTheMarksOfGroupsAndItemsAndARunStopsOnRequest)
{
    std::vector<std::string> log;
    CRuleRoot root;
    root.RemoveAllChildren();
    CRuleGroup* unmarked = AddGroup(root, 0);
    CRuleNode* itemOfUnmarked = unmarked->AddChild(new RecordingItem("a", log));
    CRuleGroup* empty = AddGroup(root, 1);
    CRuleGroup* noMarkedItems = AddGroup(root, 1);
    CRuleNode* unmarkedItem = noMarkedItems->AddChild(new RecordingItem("b", log, 0));
    CRuleGroup* five = AddGroup(root, 5);
    CRuleNode* itemFive = five->AddChild(new RecordingItem("c", log, 5));

    struct Case {
        BOOL all;
        CRuleNode* selected;
        BOOL expected;
    } const cases[] = {
        {TRUE, nullptr, TRUE},
        {FALSE, nullptr, TRUE},
        {TRUE, unmarkedItem, TRUE},
        {FALSE, unmarked, FALSE},
        {FALSE, itemOfUnmarked, TRUE},
        {FALSE, empty, FALSE},
        {FALSE, noMarkedItems, FALSE},
        {FALSE, unmarkedItem, FALSE},
        {FALSE, five, TRUE},
        {FALSE, itemFive, TRUE},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
        EXPECT_EQ(root.HasWork(cases[i].all, cases[i].selected), cases[i].expected) << "case " << i;

    itemFive->m_bUse = 0;
    EXPECT_FALSE(root.HasWork(TRUE, nullptr));
    EXPECT_TRUE(log.empty());

    // A run skips unmarked groups and items, and stops on request.
    root.RemoveAllChildren();
    log.clear();
    EXPECT_EQ(root.RunTree(nullptr, FALSE, nullptr, TRUE), 0);

    CRuleGroup* first = AddGroup(root, 0);
    first->AddChild(new RecordingItem("skipped", log));
    AddGroup(root, 1);
    CRuleGroup* third = AddGroup(root, 1);
    CRuleNode* off = third->AddChild(new RecordingItem("off", log, 0));
    third->AddChild(new RecordingItem("on", log));
    CRuleGroup* fourth = AddGroup(root, 5);
    CRuleNode* last = fourth->AddChild(new RecordingItem("last", log));

    EXPECT_NE(root.RunTree(nullptr, TRUE, nullptr, TRUE), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"off", "on", "last"}));

    log.clear();
    EXPECT_NE(root.RunTree(nullptr, FALSE, first, FALSE), 0);
    EXPECT_TRUE(log.empty());

    EXPECT_NE(root.RunTree(nullptr, FALSE, third, TRUE), 0);
    EXPECT_EQ(log.size(), 3u);

    log.clear();
    EXPECT_NE(root.RunTree(nullptr, FALSE, last, FALSE), 0);
    EXPECT_NE(root.RunTree(nullptr, FALSE, off, FALSE), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"last", "off"}));

    log.clear();
    third->AddChild(new RecordingItem("stop", log, 1, 0));
    third->AddChild(new RecordingItem("after stop", log));
    EXPECT_EQ(root.RunTree(nullptr, FALSE, nullptr, FALSE), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"off", "on", "stop"}));

    log.clear();
    EXPECT_EQ(root.RunTree(nullptr, FALSE, third, FALSE), 0);
    EXPECT_EQ(log.back(), "stop");
}
