<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:Layout>
    <xsl:template name="Patient_info">
      <Patient_id_edt left="120" top="8" width="80" height="20" textheight="12" enable="true" visible="2">患者ID<Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_id</Xml_path></Patient_id_edt>
    </xsl:template>
    <xsl:template name="Interpre_rest">
      <Interpre_ward_stc left="4" top="4" width="40" height="16">病棟</Interpre_ward_stc>
    </xsl:template>
  </xsl:Layout>
  <xsl:Visible_info>
    <Tag id="1" display_visible="true" print_visible="false"/>
    <Tag id="2" suffix="A1" display_visible="true" print_visible="true"/>
  </xsl:Visible_info>
</xsl:stylesheet>
