#pragma once

// The guard holders of class_table's own operations; not for other code.
#include "class_table.h"

// Holds the guard for the length of one operation.
class class_table::ExclusiveHold
{
public:
    explicit ExclusiveHold(const class_table &table) : m_table(table), m_held(table.AcquireExclusive()) {}
    ~ExclusiveHold()
    {
        if (m_held) {
            m_table.Release();
        }
    }
    ExclusiveHold(const ExclusiveHold &) = delete;
    ExclusiveHold &operator=(const ExclusiveHold &) = delete;
    explicit operator bool() const { return m_held; }

private:
    const class_table &m_table;
    bool m_held;
};

class class_table::SharedHold
{
public:
    explicit SharedHold(const class_table &table) : m_table(table), m_held(table.AcquireShared()) {}
    ~SharedHold()
    {
        if (m_held) {
            m_table.Release();
        }
    }
    SharedHold(const SharedHold &) = delete;
    SharedHold &operator=(const SharedHold &) = delete;
    explicit operator bool() const { return m_held; }

private:
    const class_table &m_table;
    bool m_held;
};
