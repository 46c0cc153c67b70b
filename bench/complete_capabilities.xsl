<?xml version="1.0" encoding="UTF-8"?>
<!--
  What `ptbridge capabilities` does to a PrintCapabilities document, in XSLT 1.0:
  the reference the benchmark report times with xsltproc.

  An identity transform plus the plug-in's edits:
  - the first feature named JobPresentationDirection in the private namespace,
    at any depth, is renamed PresentationDirection in the keywords namespace and
    moved to the end of the first JobNUpAllDocumentsContiguously feature;
  - in the first JobOutputBin feature, the first option named Center and the
    first named Finisher (private namespace) each get a BinType scored property
    whose QName value is Tray (private) and Stacker (keywords).
  Like the plug-in, names are matched as text against the QName that the
  document's root writes for the namespace, and edits use those prefixes.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:psf="http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework"
    xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
    exclude-result-prefixes="psf xsi">
  <xsl:output method="xml" encoding="UTF-8"/>

  <xsl:variable name="private" select="'http://ptbridge.example/printing/2005/08/printticket'"/>
  <xsl:variable name="keywords"
      select="'http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords'"/>
  <xsl:variable name="schema" select="'http://www.w3.org/2001/XMLSchema'"/>

  <!-- The prefixes the document's root declares: "pv:", "psk:", "xsd:". -->
  <xsl:variable name="pv" select="concat(name(/*/namespace::*[. = $private]), ':')"/>
  <xsl:variable name="psk" select="concat(name(/*/namespace::*[. = $keywords]), ':')"/>
  <xsl:variable name="xsd" select="concat(name(/*/namespace::*[. = $schema]), ':')"/>

  <!-- The elements edited, found once, as the plug-in's searches find them. -->
  <xsl:variable name="direction"
      select="(//psf:Feature[@name = concat($pv, 'JobPresentationDirection')])[1]"/>
  <xsl:variable name="nUp"
      select="(//psf:Feature[@name = concat($psk, 'JobNUpAllDocumentsContiguously')])[1]"/>
  <xsl:variable name="outputBin" select="(//psf:Feature[@name = concat($psk, 'JobOutputBin')])[1]"/>
  <xsl:variable name="center" select="($outputBin//psf:Option[@name = concat($pv, 'Center')])[1]"/>
  <xsl:variable name="finisher"
      select="($outputBin//psf:Option[@name = concat($pv, 'Finisher')])[1]"/>

  <!-- Below, "$x and count(. | $x) = 1" tests whether the current node is the one
       node in $x (a union with an empty $x would count 1 as well). -->
  <xsl:template match="@*|node()">
    <xsl:copy>
      <xsl:apply-templates select="@*|node()"/>
    </xsl:copy>
  </xsl:template>

  <!-- The direction feature leaves its place, and reappears renamed as the
       last child of the n-up feature. -->
  <xsl:template match="psf:Feature">
    <xsl:if test="not($direction and count(. | $direction) = 1)">
      <xsl:copy>
        <xsl:apply-templates select="@*|node()"/>
        <xsl:if test="$nUp and count(. | $nUp) = 1">
          <xsl:apply-templates select="$direction" mode="renamed"/>
        </xsl:if>
      </xsl:copy>
    </xsl:if>
  </xsl:template>

  <xsl:template match="psf:Feature" mode="renamed">
    <xsl:copy>
      <xsl:apply-templates select="@*"/>
      <xsl:attribute name="name">
        <xsl:value-of select="concat($psk, 'PresentationDirection')"/>
      </xsl:attribute>
      <xsl:apply-templates select="node()"/>
    </xsl:copy>
  </xsl:template>

  <!-- The bin type goes after the option's content. -->
  <xsl:template match="psf:Option">
    <xsl:copy>
      <xsl:apply-templates select="@*|node()"/>
      <xsl:choose>
        <xsl:when test="$center and count(. | $center) = 1">
          <xsl:call-template name="bin-type">
            <xsl:with-param name="type" select="concat($pv, 'Tray')"/>
          </xsl:call-template>
        </xsl:when>
        <xsl:when test="$finisher and count(. | $finisher) = 1">
          <xsl:call-template name="bin-type">
            <xsl:with-param name="type" select="concat($psk, 'Stacker')"/>
          </xsl:call-template>
        </xsl:when>
      </xsl:choose>
    </xsl:copy>
  </xsl:template>

  <xsl:template name="bin-type">
    <xsl:param name="type"/>
    <psf:ScoredProperty name="{$psk}BinType">
      <psf:Value xsi:type="{$xsd}QName"><xsl:value-of select="$type"/></psf:Value>
    </psf:ScoredProperty>
  </xsl:template>
</xsl:stylesheet>
