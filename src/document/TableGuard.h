#pragma once

// The guard holders of Table's own operations; not for other code.
#include "Table.h"

// Holds the guard for the length of one operation.
class Table::ExclusiveHold
{
public:
    explicit ExclusiveHold(const Table &table) : m_table(table), m_held(table.acquireExclusive()) {}
    ~ExclusiveHold()
    {
        if (m_held) {
            m_table.release();
        }
    }
    ExclusiveHold(const ExclusiveHold &) = delete;
    ExclusiveHold &operator=(const ExclusiveHold &) = delete;
    explicit operator bool() const { return m_held; }

private:
    const Table &m_table;
    bool m_held;
};

class Table::SharedHold
{
public:
    explicit SharedHold(const Table &table) : m_table(table), m_held(table.acquireShared()) {}
    ~SharedHold()
    {
        if (m_held) {
            m_table.release();
        }
    }
    SharedHold(const SharedHold &) = delete;
    SharedHold &operator=(const SharedHold &) = delete;
    explicit operator bool() const { return m_held; }

private:
    const Table &m_table;
    bool m_held;
};
