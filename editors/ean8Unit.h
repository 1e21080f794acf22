// The EAN-8 editor: the UPC family's design with 7 message digits.
#pragma once

#include "upcfamily.h"

class Tfmean8 : public TUpcEditor {
    Q_OBJECT
public:
    Tfmean8(QWidget* parent, EditorHost& host);

public slots:
    void Button1Click() override;
};
