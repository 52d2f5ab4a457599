#include "platform/xml/XmlParser.h"

void CXmlNode::Reset()
{
    m_strName.Empty();
    m_strNamespace.Empty();
    m_strContent.Empty();
}

CXmlElmentNode::CXmlElmentNode(const CXmlElmentNode& other) : CXmlNode(other)
{
    m_arrAttrib.Copy(other.m_arrAttrib);
}

CXmlElmentNode& CXmlElmentNode::operator=(const CXmlElmentNode& other)
{
    if (this == &other) return *this;
    CXmlNode::operator=(other);
    m_arrAttrib.Copy(other.m_arrAttrib);
    return *this;
}

void CXmlElmentNode::Reset()
{
    // The library leaves the attribute array alone: the system empties it
    // itself before it reuses a node.
    CXmlNode::Reset();
}
