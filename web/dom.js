// The DOM side of the page: each function changes one element of the
// window (written from its records, web/markup.h), addressed by its
// record's name, which is also its id. The C++ side decides what; this
// only speaks the browser's language.
mergeInto(LibraryManager.library, {
  $baud51: {
    text: function(ptr, length) { return UTF8ToString(ptr, length); },
    el: function(ptr, length) {
      return document.getElementById(UTF8ToString(ptr, length));
    },
    client: null,
    started: false,  // whether the window has answered once
    framed: false,  // whether the window's first frame has begun
    colors: null,  // the window's text and background colours, once read
    // Positions, sizes and fonts as described, times `grow`; each element
    // keeps its described ones, read from its markup, so the window can
    // grow again as a whole.
    grow: 1,
    described: function(node) {
      if (!node.baud51Box) {
        var style = node.style;
        var px = function(v) { return v ? parseFloat(v) : -1; };
        node.baud51Box = style.left ? [px(style.left), px(style.top),
            px(style.width), px(style.height)] : [];
        node.baud51Points = parseFloat(style.fontSize) || 0;
      }
      return node;
    },
    place: function(node) {
      var box = baud51.described(node).baud51Box, grow = baud51.grow;
      if (node.baud51Points) {
        node.style.fontSize = node.baud51Points * grow + 'pt';
      }
      if (!box.length) return;
      node.style.left = box[0] * grow + 'px';
      node.style.top = box[1] * grow + 'px';
      if (box[2] >= 0) node.style.width = box[2] * grow + 'px';
      if (box[3] >= 0) node.style.height = box[3] * grow + 'px';
    },
    // 0x00BBGGRR from a computed CSS colour.
    encode: function(css) {
      var rgb = css.match(/\d+(\.\d+)?/g) || [0, 0, 0];
      return (+rgb[0]) | (+rgb[1] << 8) | (+rgb[2] << 16);
    },
    css: function(color) {
      return 'rgb(' + (color & 255) + ',' + ((color >> 8) & 255) + ',' +
             ((color >> 16) & 255) + ')';
    },
    // Modal; the focus goes back where it was when the user closes it.
    message: function(text) {
      var dialog = document.getElementById('message');
      if (dialog.open) return;
      var before = document.activeElement;
      dialog.querySelector('p').textContent = text;
      dialog.addEventListener('close', function() {
        if (before && before.isConnected) before.focus();
      }, {once: true});
      dialog.showModal();
      dialog.querySelector('button').focus();
    },
    probe: null,  // text as small as the browser shows any
    // The window at its own size, scaled as a whole where that cannot be
    // read: down to fit less than 360 px of free width, and up so that its
    // smallest text is the browser's minimum font and no text outgrows its
    // box. Growing writes bigger sizes rather than zooming: the browser
    // would enlarge the text before the zoom, and then the zoom again.
    fit: function() {
      var form = document.querySelector('#app > .form');
      if (!form) return;
      if (!baud51.probe) {
        baud51.probe = document.createElement('span');
        baud51.probe.className = 'visually-hidden';
        baud51.probe.style.fontSize = '1px';
        baud51.probe.setAttribute('aria-hidden', 'true');
        document.body.append(baud51.probe);
      }
      var smallest = baud51.described(form).baud51Points * 4 / 3;  // pt to px
      var least = parseFloat(getComputedStyle(baud51.probe).fontSize);
      var grow = Math.max(1, least / smallest);
      if (grow !== baud51.grow) {
        baud51.grow = grow;
        [form].concat([].slice.call(form.querySelectorAll('[style]')))
            .forEach(baud51.place);
      }
      form.style.zoom = '';
      var free = document.getElementById('app').clientWidth;
      var zoom = grow === 1 && free < 360 ? free / form.offsetWidth : 1;
      form.style.zoom = zoom === 1 ? '' : zoom;
    },
  },

  // The window as its records describe it, from the markup the page was
  // built with, or written in again after 退出.
  baud51_dom_window_shown: function() {
    return !!document.querySelector('#app > .form');
  },
  baud51_dom_window__deps: ['$baud51'],
  baud51_dom_window: function(markup, markupLength) {
    var app = document.getElementById('app');
    if (markupLength) {
      app.insertAdjacentHTML('afterbegin', baud51.text(markup, markupLength));
    }
    document.getElementById('ended').hidden = true;
    baud51.client = app.querySelector('.form > .client');
    baud51.colors = null;
    baud51.grow = 1;
  },

  baud51_dom_combo__deps: ['$baud51', '$baud51Combobox'],
  baud51_dom_combo: function(name, nameLength, openList, openListLength) {
    var input = baud51.el(name, nameLength);
    baud51Combobox(input, input.parentNode,
                   baud51.text(openList, openListLength));
  },

  baud51_dom_button__deps: ['$baud51'],
  baud51_dom_button: function(name, nameLength, press) {
    baud51.el(name, nameLength).addEventListener(
        'click', function() { _baud51_press(press); });
  },

  baud51_dom_add_item__deps: ['$baud51'],
  baud51_dom_add_item: function(name, nameLength, item, itemLength) {
    baud51.el(name, nameLength).baud51AddItem(baud51.text(item, itemLength));
  },

  // The field's text in UTF-8: its size first, then copied into `buffer`.
  baud51_dom_text_size__deps: ['$baud51'],
  baud51_dom_text_size: function(name, nameLength) {
    return lengthBytesUTF8(baud51.el(name, nameLength).value);
  },
  baud51_dom_text_copy__deps: ['$baud51'],
  baud51_dom_text_copy: function(name, nameLength, buffer, size) {
    stringToUTF8(baud51.el(name, nameLength).value, buffer, size);
  },

  baud51_dom_set_caption__deps: ['$baud51'],
  baud51_dom_set_caption: function(name, nameLength, text, textLength) {
    baud51.el(name, nameLength).textContent = baud51.text(text, textLength);
  },

  baud51_dom_set_colors__deps: ['$baud51'],
  baud51_dom_set_colors: function(name, nameLength, fore, back) {
    var style = baud51.el(name, nameLength).style;
    style.color = baud51.css(fore);
    if (back >= 0) style.backgroundColor = baud51.css(back);
  },

  // The colour the window's text (0) or background (1) has now; they
  // follow the system colours of the scheme the browser is in. Read once
  // per window and scheme: each read after a new label would work out the
  // style of the whole page again. Before the first frame nothing is
  // shown, and that frame paints every label again (baud51_dom_focus), so
  // a press before it does not wait for the page's style.
  baud51_dom_system_color__deps: ['$baud51'],
  baud51_dom_system_color: function(which) {
    if (!baud51.framed) return 0;
    if (!baud51.colors) {
      var style = getComputedStyle(baud51.client);
      baud51.colors = [baud51.encode(style.color),
                       baud51.encode(style.backgroundColor)];
    }
    return baud51.colors[which];
  },

  baud51_dom_set_tooltip__deps: ['$baud51'],
  baud51_dom_set_tooltip: function(name, nameLength, text, textLength) {
    var label = baud51.el(name, nameLength);
    label.title = baud51.text(text, textLength);
    label.setAttribute('aria-description', label.title);
  },

  // The labels' colours (which read the page's style), the window's scale
  // and the focus, each of which works out the page's style or layout at
  // once. On the first start the first frame does that anyway, so they
  // wait for it, before it is drawn: the window is ready without a layout,
  // as a static page is.
  baud51_dom_focus__deps: ['$baud51'],
  baud51_dom_focus: function(name, nameLength) {
    var node = baud51.el(name, nameLength);
    var show = function() {
      baud51.framed = true;
      _baud51_scheme_changed();
      baud51.fit();
      node.focus();
    };
    if (baud51.started) {
      show();
    } else {
      requestAnimationFrame(show);
    }
  },

  // Whenever the scheme changes the window's colours are worked out again.
  // Once the window first answers, the page loads the area below.
  baud51_dom_ready__deps: ['$baud51'],
  baud51_dom_ready: function() {
    if (!baud51.started) {
      baud51.started = true;
      matchMedia('(prefers-color-scheme: dark)').addEventListener(
          'change', function() {
            baud51.colors = null;
            if (document.querySelector('#app > .form')) _baud51_scheme_changed();
          });
      document.getElementById('restart').addEventListener(
          'click', function() { _baud51_start(); });
      addEventListener('resize', baud51.fit);
      baud51Page.windowReady();
    }
  },

  // A page cannot close its tab: the window goes and the page says so.
  baud51_dom_unload: function() {
    var form = document.querySelector('#app > .form');
    if (form) form.remove();
    document.getElementById('below').hidden = true;
    var ended = document.getElementById('ended');
    ended.hidden = false;
    document.getElementById('restart').focus();
  },

  baud51_dom_message__deps: ['$baud51'],
  baud51_dom_message: function(text, textLength) {
    baud51.message(baud51.text(text, textLength));
  },
});
