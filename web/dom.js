// The DOM side of the page: each function makes or changes one element of
// the window, addressed by its record's name, which is also its id. The C++
// side decides what; this only speaks the browser's language.
mergeInto(LibraryManager.library, {
  $baud51: {
    text: function(ptr, length) { return UTF8ToString(ptr, length); },
    el: function(ptr, length) {
      return document.getElementById(UTF8ToString(ptr, length));
    },
    client: null,
    colors: null,  // the window's text and background colours, once read
    // Positions, sizes and fonts as described, times `grow`; each element
    // keeps its described ones, so the window can grow again as a whole.
    grow: 1,
    place: function(node, left, top, width, height) {
      var grow = baud51.grow;
      node.baud51Box = [left, top, width, height];
      node.style.left = left * grow + 'px';
      node.style.top = top * grow + 'px';
      if (width >= 0) node.style.width = width * grow + 'px';
      if (height >= 0) node.style.height = height * grow + 'px';
    },
    size: function(node, points) {
      node.baud51Points = points;
      node.style.fontSize = points * baud51.grow + 'pt';
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
      var smallest = form.baud51Points * 4 / 3;  // pt to px
      var least = parseFloat(getComputedStyle(baud51.probe).fontSize);
      var grow = Math.max(1, least / smallest);
      if (grow !== baud51.grow) {
        baud51.grow = grow;
        [form].concat([].slice.call(form.querySelectorAll('*'))).forEach(
            function(node) {
              if (node.baud51Box) baud51.place.apply(null,
                  [node].concat(node.baud51Box));
              if (node.baud51Points) baud51.size(node, node.baud51Points);
            });
      }
      form.style.zoom = '';
      var free = document.getElementById('app').clientWidth;
      var zoom = grow === 1 && free < 360 ? free / form.offsetWidth : 1;
      form.style.zoom = zoom === 1 ? '' : zoom;
    },
  },

  baud51_dom_window__deps: ['$baud51'],
  baud51_dom_window: function(name, nameLength, caption, captionLength,
                               width, height) {
    var form = document.createElement('section');
    form.id = baud51.text(name, nameLength);
    form.className = 'form';
    form.setAttribute('aria-labelledby', form.id + '-caption');
    var bar = document.createElement('div');
    bar.id = form.id + '-caption';
    bar.className = 'caption';
    bar.textContent = baud51.text(caption, captionLength);
    var client = document.createElement('div');
    client.className = 'client';
    baud51.place(client, 0, 0, width, height);
    form.append(bar, client);
    document.getElementById('ended').hidden = true;
    document.getElementById('app').append(form);
    baud51.client = client;
    baud51.colors = null;
  },

  baud51_dom_label__deps: ['$baud51'],
  baud51_dom_label: function(name, nameLength, text, textLength, left, top,
                              width, height, autoSize, result, resultLength) {
    // A result is an <output>, a polite live region named by what it shows
    // ("T1常数(Hex)"); its number is its content.
    var label = document.createElement(resultLength ? 'output' : 'div');
    label.id = baud51.text(name, nameLength);
    label.className = 'label' + (autoSize ? ' auto' : '') +
                      (resultLength ? ' result' : '');
    label.textContent = baud51.text(text, textLength);
    if (resultLength) {
      label.setAttribute('aria-label', baud51.text(result, resultLength));
    }
    baud51.place(label, left, top, autoSize ? -1 : width,
                 autoSize ? -1 : height);
    baud51.client.append(label);
  },

  baud51_dom_font__deps: ['$baud51'],
  baud51_dom_font: function(name, nameLength, families, familiesLength,
                             points, weight, italic, underline, strikeout) {
    var style = baud51.el(name, nameLength).style;
    style.fontFamily = baud51.text(families, familiesLength);
    baud51.size(baud51.el(name, nameLength), points);
    style.fontWeight = weight;
    style.fontStyle = italic ? 'italic' : 'normal';
    style.textDecoration = (underline ? 'underline ' : '') +
                           (strikeout ? 'line-through' : '') || 'none';
  },

  baud51_dom_combo__deps: ['$baud51', '$baud51Combobox'],
  baud51_dom_combo: function(name, nameLength, text, textLength, left, top,
                              width, height, heading, headingLength, openList,
                              openListLength) {
    var box = document.createElement('div');
    box.className = 'combo';
    baud51.place(box, left, top, width, height);
    var input = document.createElement('input');
    input.id = baud51.text(name, nameLength);
    input.value = baud51.text(text, textLength);
    input.setAttribute('aria-labelledby', baud51.text(heading, headingLength));
    // Numbers only: a phone brings up its number pad.
    input.inputMode = 'decimal';
    box.append(input);
    baud51Combobox(input, box, baud51.text(openList, openListLength));
    baud51.client.append(box);
  },

  baud51_dom_button__deps: ['$baud51'],
  baud51_dom_button: function(name, nameLength, text, textLength, left, top,
                               width, height, press) {
    var button = document.createElement('button');
    button.type = 'button';
    button.id = baud51.text(name, nameLength);
    button.className = 'command';
    button.textContent = baud51.text(text, textLength);
    baud51.place(button, left, top, width, height);
    if (press >= 0) {
      button.addEventListener('click', function() { _baud51_press(press); });
    }
    baud51.client.append(button);
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
  // style of the whole page again.
  baud51_dom_system_color__deps: ['$baud51'],
  baud51_dom_system_color: function(which) {
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

  // Focusing lays the page out at once, with its fonts. On the first start
  // the first frame does that anyway, so the focus waits for it: the window
  // is built without a layout, as a static page is.
  baud51_dom_focus__deps: ['$baud51'],
  baud51_dom_focus: function(name, nameLength) {
    var node = baud51.el(name, nameLength);
    if (document.documentElement.dataset.ready) {
      baud51.fit();
      node.focus();
    } else {
      requestAnimationFrame(function() {
        baud51.fit();
        node.focus();
      });
    }
  },

  // Whenever the scheme changes the window's colours are worked out again.
  baud51_dom_ready__deps: ['$baud51'],
  baud51_dom_ready: function() {
    var root = document.documentElement;
    if (!root.dataset.ready) {
      matchMedia('(prefers-color-scheme: dark)').addEventListener(
          'change', function() {
            baud51.colors = null;
            if (document.querySelector('#app > .form')) _baud51_scheme_changed();
          });
      document.getElementById('restart').addEventListener(
          'click', function() { _baud51_start(); });
      addEventListener('resize', baud51.fit);
      root.dataset.ready = '1';
      performance.mark('baud51-ready');
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

  // Modal; the focus goes back where it was when the user closes it.
  baud51_dom_message__deps: ['$baud51'],
  baud51_dom_message: function(text, textLength) {
    var dialog = document.getElementById('message');
    if (dialog.open) return;
    var before = document.activeElement;
    dialog.querySelector('p').textContent = baud51.text(text, textLength);
    dialog.addEventListener('close', function() {
      if (before && before.isConnected) before.focus();
    }, {once: true});
    dialog.showModal();
    dialog.querySelector('button').focus();
  },
});
