// The MFC collection templates: CArray and CMap, with MFC's rules. An index outside
// the array raises CInvalidArgException (thrown by pointer); elements are real C++
// objects, constructed, moved and destroyed one by one (never copied as raw bytes).
//
// Index
//   1. Element helpers   HashKey, CompareElements
//   2. CArray
//   3. CMap
//   4. Common typedefs
#pragma once

#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "afx/afx.h"

// ---- 1. Element helpers --------------------------------------------------------------------
// The bucket hash of a map key. Integers, enumerations and pointers hash by value; the
// string specialisations below hash by content. Other key types need their own
// specialisation, as with MFC.
template <class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key) {
    using Key = std::decay_t<ARG_KEY>;
    if constexpr (std::is_pointer_v<Key>) {
        const auto v = reinterpret_cast<uintptr_t>(key) >> 4;  // allocations are 16-byte aligned
        return static_cast<UINT>(v ^ (v >> 32));
    } else if constexpr (std::is_integral_v<Key> || std::is_enum_v<Key>) {
        // Mix so that small consecutive keys spread and 64-bit keys use all their bits.
        uint64_t v = static_cast<uint64_t>(key) * 0x9E3779B97F4A7C15ull;
        return static_cast<UINT>(v >> 32);
    } else {
        static_assert(sizeof(Key) == 0, "HashKey needs a specialisation for this key type");
        return 0;
    }
}

namespace afx_detail {
inline UINT HashWide(LPCWSTR key) {
    UINT h = 0;
    if (key) {
        for (; *key; ++key) h = (h << 5) + h + static_cast<UINT>(*key);  // h * 33 + c
    }
    return h;
}
}  // namespace afx_detail

template <>
inline UINT AFXAPI HashKey<LPCWSTR>(LPCWSTR key) {
    return afx_detail::HashWide(key);
}
template <>
inline UINT AFXAPI HashKey<LPWSTR>(LPWSTR key) {
    return afx_detail::HashWide(key);
}
template <>
inline UINT AFXAPI HashKey<const CString&>(const CString& key) {
    return afx_detail::HashWide(key.GetString());
}
template <>
inline UINT AFXAPI HashKey<CString>(CString key) {
    return afx_detail::HashWide(key.GetString());
}

template <class TYPE, class ARG_TYPE>
inline BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
    return *pElement1 == *pElement2;
}

// ---- 2. CArray -------------------------------------------------------------------------------
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    ~CArray() override;

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }
    // New elements are value-initialised (zero for plain types). nGrowBy -1 keeps the
    // current policy; 0 lets the array choose (an eighth of the size, 4 to 1024).
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[CheckedIndex(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_pData[CheckedIndex(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[CheckedIndex(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[CheckedIndex(nIndex)]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_pData[CheckedIndex(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    // Grows the array when nIndex is past the end; a negative index raises.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
    INT_PTR Add(ARG_TYPE newElement);   // returns the new element's index
    INT_PTR Append(const CArray& src);  // returns the index of the first appended element
    void Copy(const CArray& src);

    // Inserting at or past the end grows the array up to nIndex first; a negative
    // index or a count below 1 raises.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
    void InsertAt(INT_PTR nStartIndex, CArray* pNewArray);
    // Removes [nIndex, nIndex + nCount); any part outside the array raises.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

private:
    INT_PTR CheckedIndex(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_nSize) AfxThrowInvalidArgException();
        return nIndex;
    }
    void Reallocate(INT_PTR nNewMax);
    static void DestroyRange(TYPE* p, INT_PTR n) {
        for (INT_PTR i = 0; i < n; ++i) p[i].~TYPE();
    }
    static void ConstructRange(TYPE* p, INT_PTR n) {
        for (INT_PTR i = 0; i < n; ++i) ::new (static_cast<void*>(p + i)) TYPE();
    }

    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = 0;

    static_assert(alignof(TYPE) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "over-aligned CArray element");
};

template <class TYPE, class ARG_TYPE>
CArray<TYPE, ARG_TYPE>::~CArray() {
    DestroyRange(m_pData, m_nSize);
    ::operator delete(m_pData);
}

// Moves the elements into a block of nNewMax slots.
template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(INT_PTR nNewMax) {
    if (nNewMax < m_nSize || size_t(nNewMax) > size_t(-1) / sizeof(TYPE)) AfxThrowInvalidArgException();
    TYPE* pNew = nNewMax ? static_cast<TYPE*>(::operator new(size_t(nNewMax) * sizeof(TYPE))) : nullptr;
    for (INT_PTR i = 0; i < m_nSize; ++i) {
        ::new (static_cast<void*>(pNew + i)) TYPE(std::move(m_pData[i]));
        m_pData[i].~TYPE();
    }
    ::operator delete(m_pData);
    m_pData = pNew;
    m_nMaxSize = nNewMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy) {
    if (nNewSize < 0) AfxThrowInvalidArgException();
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
    if (nNewSize == 0) {
        DestroyRange(m_pData, m_nSize);
        ::operator delete(m_pData);
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
        return;
    }
    if (nNewSize <= m_nSize) {
        DestroyRange(m_pData + nNewSize, m_nSize - nNewSize);
        m_nSize = nNewSize;
        return;
    }
    if (nNewSize > m_nMaxSize) {
        INT_PTR grow = m_nGrowBy;
        if (grow == 0) grow = m_nSize / 8 < 4 ? 4 : (m_nSize / 8 > 1024 ? 1024 : m_nSize / 8);
        Reallocate(nNewSize > m_nMaxSize + grow ? nNewSize : m_nMaxSize + grow);
    }
    ConstructRange(m_pData + m_nSize, nNewSize - m_nSize);
    m_nSize = nNewSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra() {
    if (m_nSize != m_nMaxSize) Reallocate(m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0) AfxThrowInvalidArgException();
    // Copied first: newElement may refer into this array, which growing moves.
    TYPE value(newElement);
    if (nIndex >= m_nSize) SetSize(nIndex + 1, -1);
    m_pData[nIndex] = std::move(value);
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE newElement) {
    const INT_PTR nIndex = m_nSize;
    SetAtGrow(nIndex, newElement);
    return nIndex;
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
    if (this == &src) AfxThrowInvalidArgException();
    const INT_PTR nOldSize = m_nSize;
    SetSize(m_nSize + src.m_nSize);
    for (INT_PTR i = 0; i < src.m_nSize; ++i) m_pData[nOldSize + i] = src.m_pData[i];
    return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
    if (this == &src) return;
    SetSize(src.m_nSize);
    for (INT_PTR i = 0; i < src.m_nSize; ++i) m_pData[i] = src.m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount) {
    if (nIndex < 0 || nCount <= 0) AfxThrowInvalidArgException();
    const TYPE value(newElement);  // newElement may refer into this array
    if (nIndex >= m_nSize) {
        SetSize(nIndex + nCount, -1);
    } else {
        const INT_PTR nOldSize = m_nSize;
        SetSize(m_nSize + nCount, -1);
        // Shift the tail up by nCount, last element first.
        for (INT_PTR i = nOldSize - 1; i >= nIndex; --i) m_pData[i + nCount] = std::move(m_pData[i]);
    }
    for (INT_PTR i = 0; i < nCount; ++i) m_pData[nIndex + i] = value;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, CArray* pNewArray) {
    if (!pNewArray || nStartIndex < 0) AfxThrowInvalidArgException();
    const INT_PTR n = pNewArray->GetSize();
    if (n == 0) return;
    if (pNewArray == this) {
        CArray copy;
        copy.Copy(*this);
        InsertAt(nStartIndex, &copy);
        return;
    }
    InsertAt(nStartIndex, pNewArray->GetAt(0), n);
    for (INT_PTR i = 1; i < n; ++i) m_pData[nStartIndex + i] = pNewArray->m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
    if (nIndex < 0 || nCount < 0 || nIndex > m_nSize || nCount > m_nSize - nIndex) AfxThrowInvalidArgException();
    for (INT_PTR i = nIndex; i + nCount < m_nSize; ++i) m_pData[i] = std::move(m_pData[i + nCount]);
    DestroyRange(m_pData + m_nSize - nCount, nCount);
    m_nSize -= nCount;
}

// ---- 3. CMap -------------------------------------------------------------------------------------
// A chained hash table with a fixed number of buckets (17 unless InitHashTable says
// otherwise), as MFC's: it does not rehash, so iteration order stays put while the
// map grows. GetNextAssoc visits buckets in order; removing the entry it just
// returned is safe during an iteration.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
public:
    class CPair {
    public:
        const KEY key;
        VALUE value;

    protected:
        explicit CPair(ARG_KEY keyval) : key(keyval), value() {}
    };

    explicit CMap(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Only while the map is empty, as with MFC; bAllocNow is accepted and ignored.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
    const CPair* PLookup(ARG_KEY key) const { return Find(key); }
    CPair* PLookup(ARG_KEY key) { return Find(key); }
    // Inserts a value-initialised entry when the key is missing.
    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll();

    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;
    const CPair* PGetFirstAssoc() const { return First(); }
    CPair* PGetFirstAssoc() { return First(); }
    const CPair* PGetNextAssoc(const CPair* pAssocRet) const { return Next(static_cast<const CAssoc*>(pAssocRet)); }
    CPair* PGetNextAssoc(const CPair* pAssocRet) { return Next(static_cast<const CAssoc*>(pAssocRet)); }

private:
    class CAssoc : public CPair {
    public:
        CAssoc(ARG_KEY keyval, UINT hash) : CPair(keyval), nHashValue(hash) {}
        CAssoc* pNext = nullptr;
        UINT nHashValue;  // the full hash; the bucket is nHashValue % table size
    };

    CAssoc* Find(ARG_KEY key) const;
    CAssoc* First() const { return FirstFrom(0); }
    CAssoc* FirstFrom(UINT nBucket) const;
    CAssoc* Next(const CAssoc* pAssoc) const {
        if (!pAssoc) return nullptr;
        return pAssoc->pNext ? pAssoc->pNext : FirstFrom(pAssoc->nHashValue % m_nHashTableSize + 1);
    }

    CAssoc** m_pHashTable = nullptr;  // allocated at the first insertion
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL bAllocNow) {
    (void)bAllocNow;
    if (m_nCount != 0 || hashSize == 0) AfxThrowInvalidArgException();
    delete[] m_pHashTable;
    m_pHashTable = nullptr;
    m_nHashTableSize = hashSize;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Find(ARG_KEY key) const {
    if (!m_pHashTable) return nullptr;
    const UINT hash = HashKey<ARG_KEY>(key);
    for (CAssoc* p = m_pHashTable[hash % m_nHashTableSize]; p; p = p->pNext) {
        if (p->nHashValue == hash && CompareElements(&p->key, &key)) return p;
    }
    return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FirstFrom(
    UINT nBucket) const {
    if (!m_pHashTable) return nullptr;
    for (UINT b = nBucket; b < m_nHashTableSize; ++b) {
        if (m_pHashTable[b]) return m_pHashTable[b];
    }
    return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const {
    const CAssoc* p = Find(key);
    if (!p) return FALSE;
    rValue = p->value;
    return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
    if (CAssoc* p = Find(key)) return p->value;
    if (!m_pHashTable) m_pHashTable = new CAssoc* [m_nHashTableSize] {};
    const UINT hash = HashKey<ARG_KEY>(key);
    CAssoc*& head = m_pHashTable[hash % m_nHashTableSize];
    CAssoc* p = new CAssoc(key, hash);
    p->pNext = head;  // new entries go first in their bucket
    head = p;
    ++m_nCount;
    return p->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
    if (!m_pHashTable) return FALSE;
    const UINT hash = HashKey<ARG_KEY>(key);
    for (CAssoc** link = &m_pHashTable[hash % m_nHashTableSize]; *link; link = &(*link)->pNext) {
        CAssoc* p = *link;
        if (p->nHashValue == hash && CompareElements(&p->key, &key)) {
            *link = p->pNext;
            delete p;
            --m_nCount;
            return TRUE;
        }
    }
    return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() {
    if (m_pHashTable) {
        for (UINT b = 0; b < m_nHashTableSize; ++b) {
            for (CAssoc* p = m_pHashTable[b]; p;) {
                CAssoc* next = p->pNext;
                delete p;
                p = next;
            }
        }
        delete[] m_pHashTable;
        m_pHashTable = nullptr;
    }
    m_nCount = 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
    const CAssoc* p = rNextPosition == BEFORE_START_POSITION ? First() : reinterpret_cast<const CAssoc*>(rNextPosition);
    if (!p) AfxThrowInvalidArgException();  // iterating past the end
    rKey = p->key;
    rValue = p->value;
    rNextPosition = reinterpret_cast<POSITION>(Next(p));
}

// ---- 4. Common typedefs ------------------------------------------------------------------------------
typedef CArray<void*, void*> CPtrArray;
typedef CArray<CObject*, CObject*> CObArray;
typedef CArray<CString, const CString&> CStringArray;
typedef CArray<DWORD, DWORD> CDWordArray;
typedef CArray<UINT, UINT> CUIntArray;
typedef CArray<WORD, WORD> CWordArray;
typedef CArray<BYTE, BYTE> CByteArray;
