// The five page values, in mils, as the page setting dialog stores them.
#pragma once

struct PageValues {
    double ftop = 0, fdown = 0, fleft = 0, fright = 0, fiwidth = 0;
};
