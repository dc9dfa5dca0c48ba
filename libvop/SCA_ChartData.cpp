// SPDX-License-Identifier: MIT
#include "libvop/SCA_ChartData.h"

#include "libmor/SCA_String.h"

SCA_ChartData::SCA_ChartData(const SCA_ChartData& other) : SCA_Object() {
    CopyTexts(other);
    SetConstructed(CopyValues(other.m_ValueList, &m_ValueList) &&
                           CopyValues(other.m_DisplayList, &m_DisplayList)
                       ? 1u
                       : 0u);
}

SCA_ChartData& SCA_ChartData::operator=(const SCA_ChartData& other) {
    if (this == &other) {
        return *this;
    }
    if (!CopyValues(other.m_ValueList, &m_ValueList) ||
        !CopyValues(other.m_DisplayList, &m_DisplayList)) {
        SetConstructed(0);
        return *this;
    }
    CopyTexts(other);
    SetConstructed(other.IsConstructed());
    return *this;
}

void SCA_ChartData::CopyTexts(const SCA_ChartData& other) {
    SetName(other.m_Name);
    SetTitle(other.m_Title);
    SetFooter(other.m_Footer);
    SetCategoryDescr(other.m_CategoryDescr);
    SetValueDescr(other.m_ValueDescr);
    m_CounterType = other.m_CounterType;
    m_Units = other.m_Units;
}

int SCA_ChartData::CopyValues(const SCA_ChartValueList& from, SCA_ChartValueList* to) {
    SCA_ChartValueList copies;
    for (auto* node = from.GetHead(); node != nullptr; node = node->GetNext()) {
        if (node->GetItem() == nullptr || !AddValue(&copies, *node->GetItem())) {
            return 0;
        }
    }
    // Only the nodes are made anew from here on; the copies move over one by one.
    to->ClearAll();
    while (copies.GetHead() != nullptr) {
        tagSCA_CHART_VALUE* value = nullptr;
        copies.DeleteItem(copies.GetHead()->GetId(), &value);
        if (!to->AddItemToTail(value)) {
            SCA_HeapFree(value);
            return 0;
        }
    }
    return 1;
}

int SCA_ChartData::AddValue(SCA_ChartValueList* list, const tagSCA_CHART_VALUE& value) {
    auto* copy = static_cast<tagSCA_CHART_VALUE*>(SCA_HeapAlloc(sizeof(tagSCA_CHART_VALUE)));
    if (list == nullptr || copy == nullptr) {
        SCA_HeapFree(copy);
        return 0;
    }
    *copy = value;
    copy->Name[SCA_CHART_TEXT_SIZE - 1] = '\0';
    if (!list->AddItemToTail(copy)) {
        SCA_HeapFree(copy);
        return 0;
    }
    return 1;
}

void SCA_ChartData::SetName(const char* text) {
    SCA_StrnCpy(m_Name, text, sizeof(m_Name));
}

void SCA_ChartData::SetTitle(const char* text) {
    SCA_StrnCpy(m_Title, text, sizeof(m_Title));
}

void SCA_ChartData::SetFooter(const char* text) {
    SCA_StrnCpy(m_Footer, text, sizeof(m_Footer));
}

void SCA_ChartData::SetCategoryDescr(const char* text) {
    SCA_StrnCpy(m_CategoryDescr, text, sizeof(m_CategoryDescr));
}

void SCA_ChartData::SetValueDescr(const char* text) {
    SCA_StrnCpy(m_ValueDescr, text, sizeof(m_ValueDescr));
}
