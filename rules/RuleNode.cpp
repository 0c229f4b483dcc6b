#include "rules/RuleNode.h"

#include <algorithm>

#include "engine/EngineResources.h"

int CRuleItem::s_nStopFlag = 0;

CRuleNode::~CRuleNode()
{
    RemoveAllChildren();
}

int CRuleNode::Run(CResultList*, BOOL)
{
    return 0;
}

CRuleNode* CRuleNode::AddChild(CRuleNode* child)
{
    if (child) {
        child->m_pParent = this;
        m_children.push_back(child);
    }
    return child;
}

CRuleNode::ChildList::iterator CRuleNode::FindChild(CRuleNode* child)
{
    return std::find(m_children.begin(), m_children.end(), child);
}

void CRuleNode::RemoveChild(CRuleNode* child)
{
    const auto pos = FindChild(child);
    if (pos == m_children.end())
        return;
    m_children.erase(pos);
    delete child;
}

void CRuleNode::RemoveAllChildren()
{
    ChildList children;
    children.swap(m_children);
    for (CRuleNode* child : children)
        delete child;
}

CRuleItem::CRuleItem() : CRuleNode(NODE_ITEM)
{
    m_strName = "Item";
    m_strFilter.LoadString(IDS_DEFAULT_FILTER);
    m_strFolder = "C:\\temp";
}

CRuleGroup::CRuleGroup() : CRuleNode(NODE_GROUP)
{
    m_strName = "Group";
    AddChild(new CRuleItem);
}

int CRuleGroup::Run(CResultList* results, BOOL deleteFiles)
{
    if (!m_bUse)
        return 1;
    for (CRuleNode* item : m_children) {
        if (!item->Run(results, deleteFiles))
            return 0;
    }
    return 1;
}

BOOL CRuleGroup::HasUsedItem() const
{
    if (!m_bUse)
        return FALSE;
    return std::any_of(m_children.begin(), m_children.end(),
                       [](const CRuleNode* item) { return item->m_bUse != 0; });
}

CRuleRoot::CRuleRoot() : CRuleNode(NODE_ROOT)
{
    AddChild(new CRuleGroup);
}

BOOL CRuleRoot::HasWork(BOOL all, CRuleNode* selected) const
{
    if (all || !selected) {
        return std::any_of(m_children.begin(), m_children.end(), [](const CRuleNode* group) {
            return static_cast<const CRuleGroup*>(group)->HasUsedItem();
        });
    }
    if (!selected->m_bUse)
        return FALSE;
    if (selected->IsKind(NODE_GROUP))
        return static_cast<CRuleGroup*>(selected)->HasUsedItem();
    return TRUE;
}

int CRuleRoot::RunTree(CResultList* results, BOOL deleteFiles, CRuleNode* selected, BOOL all)
{
    if (!all && selected)
        return selected->Run(results, deleteFiles);
    int result = 0;
    for (CRuleNode* group : m_children) {
        result = group->Run(results, deleteFiles);
        if (!result)
            return 0;
    }
    return result;
}
