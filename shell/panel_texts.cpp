// The information panel's texts.
#include "shell/panel_texts.h"

#include "product/product.h"

const ShownText kFeatureTexts[kFeatureLineCount] = {
    SHOWN_TEXT("纯形码、无需识别码"),
    SHOWN_TEXT("可打简体、繁体字体"),
    SHOWN_TEXT("全部重码字仅为73个"),
    SHOWN_TEXT("含智能词频调整功能"),
    SHOWN_TEXT("易学、易记、字根少"),
};

const ShownText kContactTexts[kContactLineCount] = {
    SHOWN_TEXT("技术支持: " QMX_PRODUCT_SITE),
    SHOWN_TEXT("电子邮件: help@" QMX_PRODUCT_DOMAIN),
    SHOWN_TEXT("服务电话: (010) 6258 3170"),
    SHOWN_TEXT("地址: 北京市海淀区知春里 5 号"),
};
const ShownText kSystemsText = SHOWN_TEXT("操作系统: Windows 9X/NT/2000/XP");
const ShownText kSloganText = SHOWN_TEXT("长江后浪推前浪 世上新码换旧码");
const ShownText kTitleText = SHOWN_TEXT(" 汉字输入法");
