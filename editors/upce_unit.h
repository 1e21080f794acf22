// The UPC-E editor: the UPC family's design with 6 message digits.
#pragma once

#include "upcfamily.h"

class Tfmupce : public TUpcEditor {
    Q_OBJECT
public:
    Tfmupce(QWidget* parent, EditorHost& host);

public slots:
    void Button1Click() override;
};
